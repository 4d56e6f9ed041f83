// Shared set-up of the option tests: the plug-in bundle of the build tree,
// the panel's UI description, and the fixture PPDs.
#pragma once

#include "platform/Bundle.h"
#include "platform/HostProtocol.h"
#include "platform/PrintSession.h"
#include "platform/PrintSettings.h"
#include "plugin/frame/UiDescription.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"
#include "plugin/options/PDECommon.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <cups/ppd.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QStringList& l, std::ostream* os) { *os << '[' << l.join(", ").toStdString() << ']'; }
QT_END_NAMESPACE

namespace testsupport {

inline std::string env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

inline std::string fixturePpd(const std::string& name)
{
    return env("RX_SOURCE_DIR") + "/tests/fixtures/ppd/" + name;
}

// Keeps the build tree's bundle as the plug-in bundle (once per process).
inline rx::Bundle* useBuildBundle()
{
    if (!pde::pluginBundle())
        pde::setPluginBundle(std::make_unique<rx::Bundle>(QString::fromStdString(env("RX_BUNDLE_DIR"))));
    pde::pluginBundle()->setLanguage(QStringLiteral("en"));
    return pde::pluginBundle();
}

struct PpdCloser {
    void operator()(ppd_file_t* p) const { ppdClose(p); }
};
using PpdHandle = std::unique_ptr<ppd_file_t, PpdCloser>;

inline PpdHandle openPpd(const std::string& name)
{
    PpdHandle ppd(ppdOpenFile(fixturePpd(name).c_str()));
    EXPECT_TRUE(ppd) << "cannot open " << name;
    return ppd;
}

// What a print dialog gives the plug-in: settings, a session for printer
// "rx8240" and a fixture PPD.
class HostCallback : public rx::PDEHostCallback {
public:
    explicit HostCallback(const std::string& ppdName = "rx8240.ppd", const std::string& deviceUri = "")
        : ppd(openPpd(ppdName)), session(rx::Printer{"rx8240", deviceUri})
    {
    }
    rx::PrintSettings* printSettings() override { return &settings; }
    rx::PrintSession* printSession() override { return &session; }
    ppd_file_t* ppdFile() override { return ppd.get(); }

    PpdHandle ppd;
    rx::PrintSettings settings;
    rx::PrintSession session;
};

// The panel's UI description with both views, their outlets connected and
// their tables built for a PPD.
class Panel {
public:
    explicit Panel(const std::string& ppdName = "rx8240.ppd", const std::string& printer = "rx8240")
        : ppd(openPpd(ppdName)), session(rx::Printer{printer, "lpd://127.0.0.1/queue"})
    {
        useBuildBundle();
        root.reset(pde::loadUiDescription(*pde::pluginBundle(), QStringLiteral("PDEMain")));
        EXPECT_TRUE(root) << "PDEMain.ui did not load";
        basic = root->findChild<pde::ColorOptions*>(QStringLiteral("onColorView"));
        advanced = root->findChild<pde::AdvancedColorOptions*>(QStringLiteral("onAdvancedView"));
        EXPECT_TRUE(basic && advanced);
        for (pde::PDEControlView* v : views()) {
            v->connectOutlets();
            v->setPMPrint(&settings, &session);
            v->setPPDFile(ppd.get());
        }
    }
    ~Panel()
    {
        for (pde::PDEControlView* v : views())
            v->deallocPDEControlTable();
    }

    std::array<pde::PDEControlView*, 2> views() const { return {advanced, basic}; }

    void build()
    {
        for (pde::PDEControlView* v : views())
            v->createPDEControlTable();
        for (pde::PDEControlView* v : views())
            v->createPDEItemForPPDKey();
    }
    void restore()
    {
        basic->defaultFromPPDInfo();
        advanced->defaultFromPPDInfo();
        advanced->getControlValueFromTicket();
        basic->getControlValueFromTicket();
    }
    void save()
    {
        advanced->setControlValueToTicket();
        basic->setControlValueToTicket();
    }

    PpdHandle ppd;
    rx::PrintSettings settings;
    rx::PrintSession session;
    std::unique_ptr<QWidget> root;
    pde::ColorOptions* basic = nullptr;
    pde::AdvancedColorOptions* advanced = nullptr;
};

}  // namespace testsupport
