// Discovery from the plug-in: protocol codes, device addresses, and the
// requests it sends, seen by a stand-in launcher that records its arguments.
#include "plugin/discovery/PluginDiscovery.h"
#include "platform/FixedPaths.h"
#include "platform/PrintSession.h"
#include "plugin/options/PDECommon.h"
#include "profilelist/LauncherCalls.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using pde::PDECommon;

namespace {

class FakeResolver : public rx::ServiceResolver {
public:
    std::vector<rx::ResolvedAddress> answer;
    std::string name, type, domain;
    double timeout = 0;
    int calls = 0;
    std::vector<rx::ResolvedAddress> resolve(const std::string& n, const std::string& t, const std::string& d,
                                             double seconds) override
    {
        ++calls;
        name = n;
        type = t;
        domain = d;
        timeout = seconds;
        return answer;
    }
};

rx::ResolvedAddress ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
{
    rx::ResolvedAddress r{};
    r.family = rx::ResolvedAddress::IPv4;
    r.bytes[0] = a, r.bytes[1] = b, r.bytes[2] = c, r.bytes[3] = d;
    return r;
}

TEST(ProtocolCodes, ByPrefixCaseSensitiveAtTheStart)
{
    struct {
        const char* uri;
        int16_t code;
    } rows[] = {
        {"mdns://Office._pdl-datastream._tcp.local./", 1}, {"dnssd://Office._ipp._tcp.local/", 1},
        {"lpd://192.0.2.7/queue", 0}, {"pap://zone/printer", 2}, {"usb://Tarnvale/rx8240", 3},
        {"MDNS://Office._ipp._tcp.local/", -1}, {"ipp://192.0.2.7/ipp", -1}, {"socket://192.0.2.7:9100", -1},
        {" lpd://x/q", -1}, {"lpd:/x", -1}, {"", -1},
    };
    for (const auto& r : rows)
        EXPECT_EQ(PDECommon::commoniGetProtocolByUrl(r.uri), r.code) << r.uri;
    EXPECT_EQ(PDECommon::commoniGetProtocolByUrl(nullptr), -1);

    rx::PrintSession none;
    EXPECT_EQ(PDECommon::commoniGetProtocol(&none), -1);
    EXPECT_EQ(PDECommon::commoniGetProtocol(nullptr), -1);
    rx::PrintSession noUri(rx::Printer{"q", ""});
    EXPECT_EQ(PDECommon::commoniGetProtocol(&noUri), -1);
    rx::PrintSession usb(rx::Printer{"q", "usb://Tarnvale/rx8240?serial=1"});
    EXPECT_EQ(PDECommon::commoniGetProtocol(&usb), 3);
}

TEST(DeviceAddress, LpdHostWithoutPort)
{
    EXPECT_EQ(pde::deviceAddressForUri("lpd://192.0.2.7/queue"), "192.0.2.7");
    EXPECT_EQ(pde::deviceAddressForUri("lpd://192.0.2.7:515/queue"), "192.0.2.7");
    EXPECT_EQ(pde::deviceAddressForUri("lpd://printer.example:515"), "printer.example");
    EXPECT_EQ(pde::deviceAddressForUri("lpd:///queue"), "");
    EXPECT_EQ(pde::deviceAddressForUri("usb://Tarnvale/rx8240"), "");
    EXPECT_EQ(pde::deviceAddressForUri("ipp://192.0.2.7/ipp"), "");
}

TEST(DeviceAddress, DnssdNameIsSplitDecodedAndResolved)
{
    auto owned = std::make_unique<FakeResolver>();
    FakeResolver* fake = owned.get();
    fake->answer = {ipv4(192, 0, 2, 44)};
    pde::setServiceResolver(std::move(owned));

    EXPECT_EQ(pde::deviceAddressForUri("dnssd://Office%20rx8240%2B._ipp._tcp.local./?uuid=1"), "192.0.2.44");
    EXPECT_EQ(fake->name, "Office rx8240+");
    EXPECT_EQ(fake->type, "_ipp._tcp");
    EXPECT_EQ(fake->domain, "local");
    EXPECT_DOUBLE_EQ(fake->timeout, 1.0);

    // The first IPv4 address is taken; an IPv6 one is passed over.
    rx::ResolvedAddress v6{};
    v6.family = rx::ResolvedAddress::IPv6;
    fake->answer = {v6, ipv4(10, 1, 2, 3)};
    EXPECT_EQ(pde::deviceAddressForUri("mdns://P._pdl-datastream._tcp.local/"), "10.1.2.3");

    // Fewer than four parts, no answer, no IPv4 answer: no address.
    const int before = fake->calls;
    EXPECT_EQ(pde::deviceAddressForUri("dnssd://Office._ipp/"), "");
    EXPECT_EQ(fake->calls, before) << "a short name must not be resolved";
    fake->answer = {};
    EXPECT_EQ(pde::deviceAddressForUri("dnssd://Office._ipp._tcp.local/"), "");
    fake->answer = {v6};
    EXPECT_EQ(pde::deviceAddressForUri("dnssd://Office._ipp._tcp.local/"), "");
    pde::setServiceResolver(nullptr);
}

// A stand-in launcher: records each run's arguments and answers TRUE, so
// the probe and the backup go through.
class Discovery : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString launcher = QString::fromStdString(rx::fixedPath(rx::kLauncherPath));
        QDir().mkpath(QFileInfo(launcher).path());
        log = QString::fromStdString(rx::rootPrefix()) + "/launcher.log";
        QFile::remove(log);
        QFile script(launcher);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\nprintf '%s|' \"$@\" >> '" + log.toStdString() + "'\necho >> '" +
                      log.toStdString() + "'\necho \"$1=TRUE\"\n")
                         .c_str());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override
    {
        QFile::remove(QString::fromStdString(rx::fixedPath(rx::kLauncherPath)));
        pde::setServiceResolver(nullptr);
    }
    QStringList runs() const
    {
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    }
    QString log;
};

TEST_F(Discovery, LpdQueueBacksUpThenAsksForTheWalk)
{
    rx::PrintSession session(rx::Printer{"office", "lpd://127.0.0.1:515/rx8240"});
    EXPECT_EQ(PDECommon::commonGetProfilesFromMIB(&session), 0);
    const QStringList r = runs();
    ASSERT_EQ(r.size(), 3) << r.join('\n').toStdString();
    EXPECT_TRUE(r[0].startsWith("qvPListIsAdminProfile_XPC|"));
    EXPECT_TRUE(r[1].startsWith("qvPListSwapProfile_XPC|2|"));
    const QString login = QString::fromStdString(rx::realUserLoginName());
    EXPECT_EQ(r[2], "mibwalk_XPC|rx8240|" + login +
                        "|snmpwalk|-Os|-c|ombrel|-v|1|127.0.0.1|1.3.6.1.4.1.71362.1.1.1.1.6.13.1.1|");
}

TEST_F(Discovery, OtherQueuesOnlyBackUp)
{
    for (const char* uri : {"usb://Tarnvale/rx8240", "ipp://127.0.0.1/ipp", "MDNS://P._ipp._tcp.local/", ""}) {
        QFile::remove(log);
        rx::PrintSession session(rx::Printer{"q", uri});
        EXPECT_EQ(PDECommon::commonGetProfilesFromMIB(&session), 0);
        const QStringList r = runs();
        ASSERT_EQ(r.size(), 2) << uri;
        EXPECT_TRUE(r[1].startsWith("qvPListSwapProfile_XPC|2|")) << uri;
    }
}

TEST_F(Discovery, UnresolvedServiceStartsNoWalk)
{
    auto fake = std::make_unique<FakeResolver>();
    pde::setServiceResolver(std::move(fake));
    rx::PrintSession session(rx::Printer{"q", "dnssd://Office._ipp._tcp.local/"});
    EXPECT_EQ(PDECommon::commonGetProfilesFromMIB(&session), 0);
    const QStringList r = runs();
    ASSERT_EQ(r.size(), 2);
    EXPECT_FALSE(r.join('\n').contains("mibwalk_XPC"));
}

TEST(DiscoveryWithoutLauncher, StartsNothing)
{
    QFile::remove(QString::fromStdString(rx::fixedPath(rx::kLauncherPath)));
    const size_t before = QVPListLauncherRuns();
    rx::PrintSession session(rx::Printer{"q", "lpd://127.0.0.1/q"});
    EXPECT_EQ(PDECommon::commonGetProfilesFromMIB(&session), 0);
    EXPECT_EQ(QVPListLauncherRuns(), before);
}

}  // namespace
