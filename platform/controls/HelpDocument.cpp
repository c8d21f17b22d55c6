#include "HelpDocument.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

namespace plat {

bool HelpDocument::load(const QString& path) {
    m_topics.clear();
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    parse(QString::fromUtf8(f.readAll()));
    return true;
}

void HelpDocument::parse(const QString& text) {
    static const QRegularExpression heading(QStringLiteral(R"(^#\s*(\d{1,9})\s*:\s*(.*?)\s*$)"));
    m_topics.clear();
    HelpTopic* current = nullptr;
    QStringList body;
    auto finish = [&] {
        if (current) current->body = body.join('\n').trimmed();
        body.clear();
    };
    for (QString line : text.split('\n')) {
        if (line.endsWith('\r')) line.chop(1);
        const QRegularExpressionMatch m = heading.match(line);
        if (m.hasMatch()) {
            finish();
            const int context = m.captured(1).toInt();
            auto [it, added] = m_topics.try_emplace(context, HelpTopic{context, m.captured(2), {}});
            // A repeated number starts a topic that is read and dropped.
            current = added ? &it->second : nullptr;
            continue;
        }
        if (current) body << line;
    }
    finish();
}

const HelpTopic* HelpDocument::topic(int context) const {
    const auto it = m_topics.find(context);
    return it == m_topics.end() ? nullptr : &it->second;
}

std::vector<int> HelpDocument::contexts() const {
    std::vector<int> out;
    for (const auto& [context, topic] : m_topics) out.push_back(context);
    return out;
}

}  // namespace plat
