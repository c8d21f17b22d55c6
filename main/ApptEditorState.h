#pragma once
#include <functional>

namespace plat {
class ComboBox;
}

// What the main window asks of the booking editor: whether it is shown, and its resource
// list (item data = ResourceId). Until the editor registers itself it is "not shown".
class ApptEditorState {
public:
    static bool Visible() { return instance().visible && instance().visible(); }
    static plat::ComboBox* CbResource() { return instance().cbResource; }
    static void Register(std::function<bool()> visible, plat::ComboBox* cbResource) {
        instance().visible = std::move(visible);
        instance().cbResource = cbResource;
    }

private:
    static ApptEditorState& instance() {
        static ApptEditorState s;
        return s;
    }
    std::function<bool()> visible;
    plat::ComboBox* cbResource = nullptr;
};
