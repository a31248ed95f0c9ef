#include "app/session/file_names.h"

#include <sys/stat.h>

namespace mireforge {

namespace {

constexpr char16_t EscapeBase = 0xDC00;  // + the byte, 0x80..0xFF

bool IsEscape(QChar c) { return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF; }

// The length of the well-formed UTF-8 sequence at text[i], or 0.
int SequenceLength(const QByteArray& text, qsizetype i) {
  const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) return 1;
  int length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
  if (length == 0 || i + length > text.size()) return 0;
  for (int k = 1; k < length; ++k)
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  const unsigned char second = byte(i + 1);
  // Overlong forms, surrogates and values past U+10FFFF are not text either.
  if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
      (lead == 0xF4 && second > 0x8F))
    return 0;
  return length;
}

}  // namespace

QString NameFromBytes(const QByteArray& bytes) {
  QString name;
  name.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    const int length = SequenceLength(bytes, i);
    if (length == 0) {
      name += QChar(static_cast<char16_t>(EscapeBase + static_cast<unsigned char>(bytes[i])));
      ++i;
    } else {
      name += QString::fromUtf8(bytes.constData() + i, length);
      i += length;
    }
  }
  return name;
}

QByteArray BytesOfName(const QString& name) {
  QByteArray bytes;
  bytes.reserve(name.size());
  qsizetype start = 0;
  for (qsizetype i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !IsEscape(name[i])) continue;
    bytes += QStringView(name).mid(start, i - start).toUtf8();
    if (i < name.size()) bytes += static_cast<char>(name[i].unicode() - EscapeBase);
    start = i + 1;
  }
  return bytes;
}

QString ShownName(const QString& name) {
  QString shown = name;
  for (QChar& c : shown)
    if (IsEscape(c)) c = QChar::ReplacementCharacter;
  return shown;
}

bool IsTextName(const QString& name) {
  for (const QChar c : name)
    if (IsEscape(c)) return false;
  return true;
}

QString NameOfLocalUrl(const QUrl& url) {
  // The path as sent, bytes still percent-encoded, so that none is lost decoding it as text.
  return NameFromBytes(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

bool NameExists(const QString& name) {
  struct stat st;
  return ::stat(BytesOfName(name).constData(), &st) == 0;
}

}  // namespace mireforge
