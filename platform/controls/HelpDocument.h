#pragma once
#include <QString>
#include <map>
#include <vector>

// The program's help file: a UTF-8 Markdown text with one topic per context number. A
// topic begins with a level-one heading that starts with its number and a colon,
//     # 50: The schedule
// and runs to the next such heading; its text may use any Markdown, further headings
// included. Text before the first topic is ignored. When a number comes twice, the first
// topic of that number is the one kept.
namespace plat {

struct HelpTopic {
    int context = 0;
    QString title;
    QString body;  // Markdown, without the topic's own heading
};

class HelpDocument {
public:
    // False when the file cannot be read; the topics are then empty.
    bool load(const QString& path);
    void parse(const QString& text);
    // nullptr when the document has no such topic.
    const HelpTopic* topic(int context) const;
    std::vector<int> contexts() const;

private:
    std::map<int, HelpTopic> m_topics;
};

}  // namespace plat
