// libFuzzer target: origin-pattern grammar. Rebuilding a parsed pattern and parsing it again
// gives the same fields, and formatting is stable.
#include "aptconf/originpattern.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString pattern = QString::fromUtf8(reinterpret_cast<const char*>(data), int(size));
    const QMap<QString, QString> parsed = parseOriginPattern(pattern);
    for (auto it = parsed.cbegin(); it != parsed.cend(); ++it) {
        check(it.key() == it.key().trimmed() && it.value() == it.value().trimmed(),
              "names and values trimmed");
        check(!it.value().contains(QLatin1Char(',')) && !it.value().contains(QLatin1Char('=')),
              "values hold no separator");
    }
    const OriginPatternFields fields = originPatternFields(parsed);
    const QString written = formatOriginPattern(fields);
    check(originPatternFields(parseOriginPattern(written)) == fields, "the fields survive a rebuild");
    check(formatOriginPattern(originPatternFields(parseOriginPattern(written))) == written,
          "format is stable");
    return 0;
}
