#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Reads back what Qt's PDF writer put on each page: the text of every text object, in
// the order drawn (through the fonts' ToUnicode maps), and the raw page content for
// checks on colours. Made for our own printouts, not for PDF files at large.
struct PdfPage {
    QStringList texts;
    QByteArray content;
};
std::vector<PdfPage> ReadPdfPages(const QString& path);
