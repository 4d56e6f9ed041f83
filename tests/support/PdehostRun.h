// Running the built pdehost from a test: its exit code, its standard output
// as lines and its standard error.
#pragma once

#include <QMap>
#include <QProcess>
#include <QStringList>
#include <cstdlib>
#include <gtest/gtest.h>

namespace rxtest {

inline QString envText(const char* name)
{
    const char* v = std::getenv(name);
    return QString::fromLocal8Bit(v ? v : "");
}

// The fixture PPD of the given name.
inline QString fixturePpd(const char* name = "rx8240.ppd")
{
    return envText("RX_SOURCE_DIR") + QStringLiteral("/tests/fixtures/ppd/") + QString::fromLatin1(name);
}

struct HostRun {
    int exitCode = -1;
    QStringList lines;
    QString err;
};

// unset: environment variables pdehost runs without.
inline HostRun runPdehost(const QStringList& args, int timeoutMs = 60000, const QStringList& unset = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& name : unset)
        env.remove(name);
    p.setProcessEnvironment(env);
    p.start(envText("RX_BINARY_DIR") + QStringLiteral("/bin/pdehost"), args);
    EXPECT_TRUE(p.waitForFinished(timeoutMs)) << "pdehost did not finish";
    HostRun r;
    r.exitCode = p.exitCode();
    r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// "KEY<separator>VALUE" lines as a map; lines without the separator are left out.
inline QMap<QString, QString> pairs(const QStringList& lines, QChar separator)
{
    QMap<QString, QString> out;
    for (const QString& l : lines)
        if (l.contains(separator))
            out.insert(l.section(separator, 0, 0), l.section(separator, 1));
    return out;
}

}  // namespace rxtest
