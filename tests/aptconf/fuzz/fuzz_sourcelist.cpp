// libFuzzer target: repository list parser and writer. Parse, write, parse must give the same
// entries (raw text aside, blank lines dropped), and writing again must change nothing.
#include "aptconf/sourcelist.h"

#include <QBuffer>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

const QString Path = QStringLiteral("/etc/apt/sources.list.d/fuzz.list");

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

SourceList parse(QByteArray data)
{
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly | QIODevice::Text);
    SourceList list;
    list.setSourceListPath(QStringLiteral("/etc/apt/sources.list"));
    list.parseDevice(&buffer, Path);
    return list;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const SourceList first = parse(QByteArray(reinterpret_cast<const char*>(data), int(size)));
    const QVariantMap firstMap = first.toFileMap();
    check(firstMap.keys() == QStringList{Path}, "the file read is in the map");
    const QString written = firstMap.value(Path).toString();

    const SourceList second = parse(written.toLocal8Bit());
    QList<SourceEntry> kept;
    for (const SourceEntry& entry : first.entries())
        if (!entry.line.trimmed().isEmpty())
            kept.append(entry);
    check(second.entries().size() == kept.size(), "every non-blank line is written once");
    for (int i = 0; i < kept.size(); ++i) {
        SourceEntry a = kept.at(i);
        SourceEntry b = second.entries().at(i);
        check(a.isUsable() == b.isUsable(), "usable lines stay usable");
        a.line.clear();
        b.line.clear();
        check(a == b, "the same entry is read back");
    }
    check(second.toFileMap().value(Path).toString() == written, "writing is stable");
    return 0;
}
