#pragma once
// File-type associations on the freedesktop files of the user: a desktop entry in the
// user's data folder names the program and the types it opens, a shared-mime-info
// package there declares the type of an extension, and the default application of the
// type is set in mimeapps.list in the user's configuration folder. Nothing outside
// those two folders is written.
//
// The association of an extension has a type name; it names the desktop entry
// ("<type name>.desktop") and the mime package ("<type name>.xml"). The extension's
// type is "application/x-<extension>-form", so ".dfm" is the program's shipped type
// application/x-dfm-form.

#include <QString>

#include "base/errors.h"

namespace fw {

// An association file could not be written.
class EAssociationError : public Exception {
public:
    using Exception::Exception;
};

// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
QString UserDataFolder();
// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
QString UserConfigFolder();

// The type of an extension given with or without its dot: "application/x-dfm-form" for
// "dfm". Empty when the extension is empty or holds anything but ASCII letters, digits,
// "_", "+" and "-", so that no such name reaches a file name or a type.
QString MimeTypeForExtension(const QString& extension);

// The program that opens files of the extension: the default application of its type in
// mimeapps.list, looked up as a desktop entry in the user's data folder and then the
// system's data folders, and the program of that entry's Exec line (its first word,
// unquoted). Empty when any of these is missing.
QString GetAssociatedExe(const QString& extension);

// Makes program the default application of the extension's type. Every "." is removed
// from the extension first; nothing happens when it or program is then empty, or when
// either name is unusable as a file name. An empty type name becomes "<extension>_auto_file".
// Writes the type (described by description, glob "*.<extension>") into the mime package
// "<type name>.xml" and refreshes the user's mime database when update-mime-database is
// installed; writes or updates the desktop entry "<type name>.desktop" (Exec: the
// program, quoted, with %F; Icon: icon, when given; the type added to MimeType); sets the
// default in mimeapps.list. Throws EAssociationError when a file cannot be written.
void RegisterFileType(const QString& extension, const QString& typeName, const QString& description,
                      const QString& program, const QString& icon);

// Undoes RegisterFileType for the extension: when mimeapps.list names a default
// application for its type, the default is removed, the type leaves that desktop entry
// (in the user's data folder only; an entry left without types is deleted) and its mime
// package (deleted when empty). Throws EAssociationError when a file cannot be written.
void UnregisterFileType(const QString& extension);

}  // namespace fw
