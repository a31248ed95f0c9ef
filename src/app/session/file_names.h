#pragma once
// File names as the system's bytes, which need not be UTF-8 text ("caf\xE9.mfp"
// written on a Latin-1 system). In the editor they are QStrings whose bytes that
// are not UTF-8 stand as the lone surrogates U+DC80..U+DCFF, one per byte, so
// every name goes back to its exact bytes for the core; Qt's own conversion
// would turn such bytes into U+FFFD and lose the file.
#include <QByteArray>
#include <QString>
#include <QUrl>
#include <string>

namespace mireforge {

QString NameFromBytes(const QByteArray& bytes);
QByteArray BytesOfName(const QString& name);
inline std::string PathOf(const QString& name) { return BytesOfName(name).toStdString(); }
inline QString NameFromPath(const std::string& path) { return NameFromBytes(QByteArray::fromStdString(path)); }
// The name for people: each byte that is not text shows as U+FFFD.
QString ShownName(const QString& name);
// Whether the name can reach Qt's file functions unchanged (it is all text).
bool IsTextName(const QString& name);
// The local file of a dropped URL, bytes included.
QString NameOfLocalUrl(const QUrl& url);
// Whether the file exists, asked with its bytes.
bool NameExists(const QString& name);

}  // namespace mireforge
