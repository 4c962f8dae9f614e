// tarven-cli's command line: the input split at NUL bytes is the argument list; then the options
// of a command are read from what is left, as every command reads them.
#include "FuzzCommon.h"
#include "cli/CliOptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::App();
    QStringList args;
    for (const QByteArray &a : QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)).split('\0'))
        args << QString::fromUtf8(a);
    QString error;
    const std::optional<CliOptions> o = ParseCliOptions(args, &error);
    if (!o) {
        if (error.isEmpty()) __builtin_trap(); // a refusal always says why
        return 0;
    }
    if (!(o->TimeoutS > 0) || o->LinkKey < -1 || o->LinkKey > 255 || o->Lang < -1 || o->Lang > 3)
        __builtin_trap();
    TArgumenty a;
    if (a.Czytaj(o->Args, {"--seconds", "--pid", "--every", "--file"}, {"--clear", "--all"}, &error)) {
        double s = 1;
        a.Sekundy(QStringLiteral("--seconds"), &s, &error);
        a.Sekundy(QStringLiteral("--every"), &s, &error);
        a.Wartosc(QStringLiteral("--pid"));
        a.Operandy();
    }
    return 0;
}
