#include "app/cp1252_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace quandel {

QString FromCp1252(const std::string &bytes) {
    QStringDecoder decoder("windows-1252");
    return decoder.decode(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

namespace {

bool Representable(QChar c) {
    QStringEncoder encoder("windows-1252");
    const QByteArray b = encoder.encode(QString(c));
    return !encoder.hasError() && b.size() == 1;
}

} // namespace

std::string ToCp1252(const QString &text, qsizetype *firstUnmappable) {
    // Stateless: a lone high surrogate at the end is an error, not the start
    // of a pair kept back for a next call that never comes (and lost).
    QStringEncoder encoder("windows-1252", QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    if (firstUnmappable) {
        *firstUnmappable = -1;
        if (encoder.hasError()) {
            for (qsizetype i = 0; i < text.size(); ++i) {
                if (!Representable(text.at(i))) {
                    *firstUnmappable = i;
                    break;
                }
            }
        }
    }
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

} // namespace quandel
