#include "shell/fileassociations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <optional>
#include <vector>

namespace fw {

namespace {

const QString kDesktopSection = QStringLiteral("Desktop Entry");
const QString kDefaultsSection = QStringLiteral("Default Applications");

QString FolderFromEnvironment(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    // Relative paths are invalid in these variables and are ignored.
    if (!value.isEmpty() && QDir::isAbsolutePath(value)) return QDir::cleanPath(value);
    return QDir(QDir::homePath()).filePath(fallback);
}

QString MimeAppsPath() {
    return QDir(UserConfigFolder()).filePath(QStringLiteral("mimeapps.list"));
}
QString UserApplicationsFolder() {
    return QDir(UserDataFolder()).filePath(QStringLiteral("applications"));
}
QString UserMimeFolder() {
    return QDir(UserDataFolder()).filePath(QStringLiteral("mime"));
}
QString MimePackagePath(const QString& typeName) {
    return QDir(UserMimeFolder()).filePath(QStringLiteral("packages/%1.xml").arg(typeName));
}

bool IsPlainName(const QString& name) {
    if (name.isEmpty()) return false;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
                        u == '_' || u == '+' || u == '-' || u == '.';
        if (!ok) return false;
    }
    return name != QLatin1String(".") && name != QLatin1String("..");
}

QString WithoutDots(QString extension) {
    return extension.remove(u'.');
}

// --- Key files (desktop entries, mimeapps.list): edited line by line so that every
// line this code does not change stays exactly as it was.

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines) {
        if (line.endsWith(u'\r')) line.chop(1);
    }
    return lines;
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EAssociationError(QStringLiteral("Cannot write file %1.").arg(path).toStdString());
}

void WriteLines(const QString& path, const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toUtf8() + '\n';
    WriteBytes(path, bytes);
}

void RemoveFile(const QString& path) {
    if (QFileInfo::exists(path) && !QFile::remove(path))
        throw EAssociationError(QStringLiteral("Cannot delete file %1.").arg(path).toStdString());
}

bool IsGroupHeader(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(u'[') && trimmed.endsWith(u']');
}

// The range of the group's key lines: the line after its header and the line after its
// last line; nothing when the file has no such group.
std::optional<std::pair<int, int>> GroupRange(const QStringList& lines, const QString& group) {
    const QString header = u'[' + group + u']';
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed() != header) continue;
        int end = i + 1;
        while (end < lines.size() && !IsGroupHeader(lines[end]))
            ++end;
        return std::make_pair(i + 1, end);
    }
    return std::nullopt;
}

// The line of key in the group, or -1. Keys compare exactly; blanks around "=" are
// allowed.
int KeyLine(const QStringList& lines, const QString& group, const QString& key) {
    const auto range = GroupRange(lines, group);
    if (!range) return -1;
    for (int i = range->first; i < range->second; ++i) {
        const QString& line = lines[i];
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0 || line.trimmed().startsWith(u'#')) continue;
        if (line.left(equals).trimmed() == key) return i;
    }
    return -1;
}

std::optional<QString> KeyValue(const QStringList& lines, const QString& group, const QString& key) {
    const int line = KeyLine(lines, group, key);
    if (line < 0) return std::nullopt;
    return lines[line].mid(lines[line].indexOf(u'=') + 1).trimmed();
}

void SetKeyValue(QStringList& lines, const QString& group, const QString& key, const QString& value) {
    const QString text = key + u'=' + value;
    if (const int line = KeyLine(lines, group, key); line >= 0) {
        lines[line] = text;
        return;
    }
    if (const auto range = GroupRange(lines, group)) {
        // After the group's last key, before the blank lines that part it from the next.
        int at = range->second;
        while (at > range->first && lines[at - 1].trimmed().isEmpty())
            --at;
        lines.insert(at, text);
        return;
    }
    if (!lines.isEmpty() && !lines.last().trimmed().isEmpty()) lines << QString();
    lines << u'[' + group + u']' << text;
}

bool RemoveKey(QStringList& lines, const QString& group, const QString& key) {
    const int line = KeyLine(lines, group, key);
    if (line < 0) return false;
    lines.removeAt(line);
    return true;
}

// The entries of a ";"-separated list value, without empty ones.
QStringList ListEntries(const QString& value) {
    QStringList entries;
    for (const QString& entry : value.split(u';')) {
        if (!entry.trimmed().isEmpty()) entries << entry.trimmed();
    }
    return entries;
}

QString ListValue(const QStringList& entries) {
    QString value;
    for (const QString& entry : entries)
        value += entry + u';';
    return value;
}

// --- The Exec line of a desktop entry.

// The program quoted as one argument of an Exec line, then escaped as a string value.
QString ExecValue(const QString& program) {
    QString argument = QStringLiteral("\"");
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') argument += u'\\';
        argument += c;
    }
    argument += u'"';
    argument.replace(u'%', QStringLiteral("%%"));
    QString value;
    for (const QChar c : argument) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value + QStringLiteral(" %F");
}

// The first argument of an Exec value: string escapes resolved, then the argument taken
// quoted or up to the first blank, "%%" read as "%".
QString ProgramOfExec(const QString& value) {
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value[++i];
        if (next == u's')
            text += u' ';
        else if (next == u'n')
            text += u'\n';
        else if (next == u't')
            text += u'\t';
        else if (next == u'r')
            text += u'\r';
        else if (next == u'\\')
            text += u'\\';
        else
            text += QString(c) + next;
    }
    text = text.trimmed();
    QString program;
    if (text.startsWith(u'"')) {
        for (qsizetype i = 1; i < text.size(); ++i) {
            if (text[i] == u'"') break;
            if (text[i] == u'\\' && i + 1 < text.size()) ++i;
            program += text[i];
        }
    } else {
        const qsizetype blank = text.indexOf(u' ');
        program = blank < 0 ? text : text.left(blank);
    }
    return program.replace(QStringLiteral("%%"), QStringLiteral("%"));
}

QString FindDesktopEntry(const QString& id) {
    QStringList folders{UserDataFolder()};
    QString dirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dirs.isEmpty()) dirs = QStringLiteral("/usr/local/share:/usr/share");
    for (const QString& folder : dirs.split(u':', Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder)) folders << folder;
    }
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(QStringLiteral("applications/") + id);
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

// --- Mime packages: the types a package file declares, as this code writes them.

struct MimeTypeEntry {
    QString Type;
    QString Comment;
    QStringList Globs;
};

std::vector<MimeTypeEntry> ReadMimePackage(const QString& path) {
    std::vector<MimeTypeEntry> entries;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return entries;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (!xml.readNextStartElement()) continue;
        if (xml.name() == QLatin1String("mime-type")) {
            entries.push_back({xml.attributes().value(QLatin1String("type")).toString(), {}, {}});
        } else if (!entries.empty() && xml.name() == QLatin1String("comment") &&
                   xml.attributes().value(QLatin1String("xml:lang")).isEmpty()) {
            entries.back().Comment = xml.readElementText();
        } else if (!entries.empty() && xml.name() == QLatin1String("glob")) {
            entries.back().Globs << xml.attributes().value(QLatin1String("pattern")).toString();
        }
    }
    // A damaged file keeps what was read before the damage.
    return entries;
}

void WriteMimePackage(const QString& path, const std::vector<MimeTypeEntry>& entries) {
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("mime-info"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    for (const MimeTypeEntry& entry : entries) {
        xml.writeStartElement(QStringLiteral("mime-type"));
        xml.writeAttribute(QStringLiteral("type"), entry.Type);
        xml.writeTextElement(QStringLiteral("comment"), entry.Comment);
        xml.writeEmptyElement(QStringLiteral("generic-icon"));
        xml.writeAttribute(QStringLiteral("name"), QStringLiteral("text-x-generic"));
        for (const QString& glob : entry.Globs) {
            xml.writeEmptyElement(QStringLiteral("glob"));
            xml.writeAttribute(QStringLiteral("pattern"), glob);
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    WriteBytes(path, bytes);
}

// Rebuilds the user's mime database from its packages, when the tool is installed.
void UpdateMimeDatabase() {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
    if (tool.isEmpty()) return;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.start(tool, {UserMimeFolder()});
    if (process.waitForStarted()) process.waitForFinished(30000);
}

}  // namespace

QString UserDataFolder() {
    return FolderFromEnvironment("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

QString UserConfigFolder() {
    return FolderFromEnvironment("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString MimeTypeForExtension(const QString& extension) {
    QString ext = extension.startsWith(u'.') ? extension.mid(1) : extension;
    if (!IsPlainName(ext) || ext.contains(u'.')) return {};
    return QStringLiteral("application/x-%1-form").arg(ext.toLower());
}

QString GetAssociatedExe(const QString& extension) {
    const QString mimeType = MimeTypeForExtension(extension);
    if (mimeType.isEmpty()) return {};
    const auto value = KeyValue(ReadLines(MimeAppsPath()), kDefaultsSection, mimeType);
    if (!value) return {};
    // The first listed application that is installed is the default.
    for (const QString& id : ListEntries(*value)) {
        if (!IsPlainName(id)) continue;
        const QString entry = FindDesktopEntry(id);
        if (entry.isEmpty()) continue;
        const auto exec = KeyValue(ReadLines(entry), kDesktopSection, QStringLiteral("Exec"));
        return exec ? ProgramOfExec(*exec) : QString();
    }
    return {};
}

void RegisterFileType(const QString& extension, const QString& typeName, const QString& description,
                      const QString& program, const QString& icon) {
    const QString ext = WithoutDots(extension);
    if (ext.isEmpty() || program.isEmpty()) return;
    const QString name = typeName.isEmpty() ? ext + QStringLiteral("_auto_file") : typeName;
    const QString mimeType = MimeTypeForExtension(ext);
    if (mimeType.isEmpty() || !IsPlainName(name)) return;
    const QString id = name + QStringLiteral(".desktop");

    // The type.
    std::vector<MimeTypeEntry> types = ReadMimePackage(MimePackagePath(name));
    std::erase_if(types, [&](const MimeTypeEntry& entry) { return entry.Type == mimeType; });
    types.push_back({mimeType, description, {QStringLiteral("*.") + ext.toLower()}});
    WriteMimePackage(MimePackagePath(name), types);
    UpdateMimeDatabase();

    // The program that opens it.
    const QString entryPath = QDir(UserApplicationsFolder()).filePath(id);
    QStringList lines = ReadLines(entryPath);
    if (!GroupRange(lines, kDesktopSection)) {
        lines.prepend(u'[' + kDesktopSection + u']');
        SetKeyValue(lines, kDesktopSection, QStringLiteral("Type"), QStringLiteral("Application"));
        SetKeyValue(lines, kDesktopSection, QStringLiteral("Name"), QStringLiteral("Formwright"));
        SetKeyValue(lines, kDesktopSection, QStringLiteral("GenericName"),
                    QStringLiteral("Form File Editor"));
        SetKeyValue(lines, kDesktopSection, QStringLiteral("Terminal"), QStringLiteral("false"));
        SetKeyValue(lines, kDesktopSection, QStringLiteral("Categories"), QStringLiteral("Development;"));
    }
    SetKeyValue(lines, kDesktopSection, QStringLiteral("Exec"), ExecValue(program));
    if (!icon.isEmpty()) SetKeyValue(lines, kDesktopSection, QStringLiteral("Icon"), icon);
    QStringList mimeTypes =
        ListEntries(KeyValue(lines, kDesktopSection, QStringLiteral("MimeType")).value_or(QString()));
    if (!mimeTypes.contains(mimeType)) mimeTypes << mimeType;
    SetKeyValue(lines, kDesktopSection, QStringLiteral("MimeType"), ListValue(mimeTypes));
    WriteLines(entryPath, lines);

    // The default.
    QStringList apps = ReadLines(MimeAppsPath());
    SetKeyValue(apps, kDefaultsSection, mimeType, id);
    WriteLines(MimeAppsPath(), apps);
}

void UnregisterFileType(const QString& extension) {
    const QString mimeType = MimeTypeForExtension(WithoutDots(extension));
    if (mimeType.isEmpty()) return;
    QStringList apps = ReadLines(MimeAppsPath());
    const auto value = KeyValue(apps, kDefaultsSection, mimeType);
    if (!value) return;
    RemoveKey(apps, kDefaultsSection, mimeType);
    WriteLines(MimeAppsPath(), apps);

    const QStringList ids = ListEntries(*value);
    if (ids.isEmpty()) return;
    const QString id = ids.first();
    if (!id.endsWith(QLatin1String(".desktop")) || !IsPlainName(id)) return;
    const QString name = id.chopped(8);
    if (!IsPlainName(name)) return;

    const QString entryPath = QDir(UserApplicationsFolder()).filePath(id);
    QStringList lines = ReadLines(entryPath);
    if (const auto types = KeyValue(lines, kDesktopSection, QStringLiteral("MimeType"))) {
        QStringList mimeTypes = ListEntries(*types);
        mimeTypes.removeAll(mimeType);
        if (mimeTypes.isEmpty()) {
            RemoveFile(entryPath);
        } else {
            SetKeyValue(lines, kDesktopSection, QStringLiteral("MimeType"), ListValue(mimeTypes));
            WriteLines(entryPath, lines);
        }
    }

    const QString packagePath = MimePackagePath(name);
    if (!QFileInfo::exists(packagePath)) return;
    std::vector<MimeTypeEntry> types = ReadMimePackage(packagePath);
    std::erase_if(types, [&](const MimeTypeEntry& entry) { return entry.Type == mimeType; });
    if (types.empty())
        RemoveFile(packagePath);
    else
        WriteMimePackage(packagePath, types);
    UpdateMimeDatabase();
}

}  // namespace fw
