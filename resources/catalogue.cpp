#include "resources/catalogue.h"

#include <map>

namespace {

struct Entry {
    int id;
    const char* text;
};

const Entry kEntries[] = {
#include "resources/texts.inc"
};

const std::map<int, QString>& Table() {
    static const std::map<int, QString> table = [] {
        std::map<int, QString> t;
        for (const Entry& e : kEntries) t.emplace(e.id, QString::fromUtf8(e.text));
        return t;
    }();
    return table;
}

}  // namespace

QString Text(int id) {
    const auto it = Table().find(id);
    return it == Table().end() ? QString() : it->second;
}

QString FillPattern(const QString& pattern, const QStringList& args) {
    QString out;
    int next = 0;
    for (int i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next < args.size()) out += args[next];
            ++next;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

QString FillText(int id, const QStringList& args) {
    return FillPattern(Text(id), args);
}

QList<int> CatalogueIds() {
    QList<int> ids;
    for (const auto& [id, text] : Table()) ids.append(id);
    return ids;
}
