#pragma once
// The form text of a document as plain data: the bytes a text file holds and the UTF-8
// the source editor holds, the line-break convention of a file and the backup name of
// a saved file. No widgets here, so the rules are tested on their own.

#include <QString>
#include <string>
#include <string_view>

#include "base/codepage.h"

namespace fw {

// The convention for line breaks typed into a document: CR only when the loaded text
// had CR and no LF, LF only when it had LF and no CR, CR LF otherwise (mixed text,
// text without breaks and new documents). Breaks already in the text are never touched.
enum class LineBreak { CrLf, Lf, Cr };
LineBreak LineBreakOf(std::string_view text);

// True when every byte is below 0x80, so 8-bit text and its UTF-8 are the same bytes.
bool IsAscii(std::string_view bytes);

// 8-bit text in the code page as the UTF-8 the editor holds. Lossless: every byte, or
// lead and trail byte of a double-byte page, has its own character in the code page
// and comes back from it (bytes a page leaves undefined as private-use characters).
std::string EditorTextFromBytes(std::string_view bytes, const CodePage& codePage);

// The editor's UTF-8 back to 8-bit text in the code page. A character the code page
// cannot hold is never replaced: throws fw::Exception naming its line (1-based, with
// CR LF, LF and CR each ending a line) and the character.
std::string BytesFromEditorText(std::string_view utf8, const CodePage& codePage);

// The name the old file is kept under when a document is saved: the extension gets
// ".~" in front of it (at most 255 characters of it are kept), Form1.dfm -> Form1.~dfm;
// a name without extension gets ".~" appended. Dots in folder names do not count.
QString BackupPath(const QString& path);

}  // namespace fw
