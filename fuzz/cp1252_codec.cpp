// The Windows-1252 conversions: the widget edge (app/cp1252_codec, Qt's
// converter) and the core's own tables (Cp1252ToUtf8Text in
// core/native_path, Cp1252 in core/number_text).
//
// Invariants, for every byte string b:
//  - the core's Cp1252ToUtf8Text(b) is valid UTF-8, and Cp1252 of it gives b
//    back byte for byte;
//  - Qt's FromCp1252(b) has one character per byte and is the same text as
//    the core's (both map the five codes the code page leaves free, 0x81
//    0x8D 0x8F 0x90 0x9D, to the C1 controls U+0081 U+008D U+008F U+0090
//    U+009D, so they survive like every other byte);
//  - ToCp1252 of it gives b back byte for byte and reports no unmappable
//    character.
// And for any UTF-16 text s (the input read as UTF-16 as well):
//  - ToCp1252(s) reports no unmappable character exactly when every
//    character is in the code page; then it has one byte per character,
//    FromCp1252 gives s back, and the core's Cp1252 of s in UTF-8 gives the
//    same bytes;
//  - otherwise the reported index is the first character that is not in the
//    code page.

#include "app/cp1252_codec.h"

#include "core/native_path.h"
#include "core/number_text.h"
#include "fuzz_support.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using namespace quandel;

namespace {

bool ValidUtf8(const std::string &text) {
    const QString decoded = QString::fromUtf8(text.data(), qsizetype(text.size()));
    return decoded.toUtf8() == QByteArray(text.data(), qsizetype(text.size()));
}

bool Mappable(QChar c) {
    qsizetype bad = 0;
    ToCp1252(QString(c), &bad);
    return bad == -1;
}

void CheckBytes(const std::string &bytes) {
    const std::string utf8 = Cp1252ToUtf8Text(bytes);
    FUZZ_CHECK(ValidUtf8(utf8));
    FUZZ_CHECK(Cp1252(utf8) == bytes);

    const QString text = FromCp1252(bytes);
    FUZZ_CHECK(text.size() == qsizetype(bytes.size()));
    FUZZ_CHECK(text.toUtf8() == QByteArray(utf8.data(), qsizetype(utf8.size())));
    qsizetype bad = 0;
    FUZZ_CHECK(ToCp1252(text, &bad) == bytes);
    FUZZ_CHECK(bad == -1);
}

void CheckText(const QString &text) {
    qsizetype bad = 0;
    const std::string bytes = ToCp1252(text, &bad);
    if (bad == -1) {
        FUZZ_CHECK(bytes.size() == std::size_t(text.size()));
        FUZZ_CHECK(FromCp1252(bytes) == text);
        const QByteArray utf8 = text.toUtf8();
        FUZZ_CHECK(Cp1252(std::string(utf8.constData(), std::size_t(utf8.size()))) == bytes);
        return;
    }
    FUZZ_CHECK(bad >= 0 && bad < text.size());
    FUZZ_CHECK(!Mappable(text[bad]));
    qsizetype before = 0;
    ToCp1252(text.left(bad), &before);
    FUZZ_CHECK(before == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    CheckBytes(bytes);

    std::vector<QChar> units;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        units.emplace_back(char16_t(data[i] | (data[i + 1] << 8)));
    CheckText(QString(units.data(), qsizetype(units.size())));
    return 0;
}
