#pragma once

namespace plat {
class Tabrix;
class ViewPro;
}  // namespace plat

// The booking search's printout: the rows its result list holds, under a ruled heading
// of the seven columns repeated on every page, printed on the paper of [Options]
// PageSize through the search window's own print-preview control.
class SearchPrintout {
public:
    // Builds the document from the list and prints all of it (asking for the printer).
    // A list without rows prints nothing.
    static void DoPrint(plat::ViewPro* control, const plat::Tabrix& results);
};
