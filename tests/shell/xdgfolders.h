#pragma once
// The user's data and configuration folders of a test: XDG_DATA_HOME and
// XDG_CONFIG_HOME point into a temporary folder while the object lives, so that no test
// writes file-type associations into the real home folder.

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace fw::test {

class XdgFolders {
public:
    XdgFolders()
        : oldData_(qgetenv("XDG_DATA_HOME")),
          oldConfig_(qgetenv("XDG_CONFIG_HOME")),
          hadData_(qEnvironmentVariableIsSet("XDG_DATA_HOME")),
          hadConfig_(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        EXPECT_TRUE(dir_.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir_.filePath(QStringLiteral("config"))));
    }
    ~XdgFolders() {
        if (hadData_)
            qputenv("XDG_DATA_HOME", oldData_);
        else
            qunsetenv("XDG_DATA_HOME");
        if (hadConfig_)
            qputenv("XDG_CONFIG_HOME", oldConfig_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }
    XdgFolders(const XdgFolders&) = delete;
    XdgFolders& operator=(const XdgFolders&) = delete;

    // A path inside the data or the configuration folder; the folder itself for "".
    QString Data(const QString& path) const { return Inside(QStringLiteral("data"), path); }
    QString Config(const QString& path) const { return Inside(QStringLiteral("config"), path); }

private:
    QString Inside(const QString& folder, const QString& path) const {
        const QString base = dir_.filePath(folder);
        return path.isEmpty() ? base : QDir(base).filePath(path);
    }

    QTemporaryDir dir_;
    QByteArray oldData_, oldConfig_;
    bool hadData_, hadConfig_;
};

}  // namespace fw::test
