// The profile management window driven through its actions (never its modal
// loop): the edit area, the lists it edits, the pap/usb deleted lists, the
// write on OK and what the advanced view shows afterwards.
#include "../options/PanelFixture.h"

#include "platform/FixedPaths.h"
#include "plugin/frame/PDEPlugInInterface.h"
#include "plugin/profilewindow/ProfileControl.h"
#include "plugin/profilewindow/QVTextField.h"
#include "profilelist/ProfileList.h"
#include "profilelist/ServicePaths.h"

#include <gmock/gmock.h>

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QLabel>
#include <QDialog>
#include <QImageWriter>
#include <QTableView>
#include <QTest>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

ProfileListItem entry(int32_t code, const char* file, const char* name, int32_t location = kLocationDisk,
                      int32_t index = 1)
{
    ProfileListItem item;
    std::memset(&item, 0, sizeof item);
    item.iIndexOnDevice = index;
    item.iInMenu = code;
    item.iProfileClass = 1;
    std::strncpy(item.FileName, file, kProfileNameFieldSize - 1);
    std::strncpy(item.ProfileName, name, kProfileNameFieldSize - 1);
    item.iLocation = location;
    return item;
}

void append(ProfileList& list, const ProfileListItem& item)
{
    list.litem[list.iNum++] = item;
}

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeIcon()
{
    const std::string path = rx::fixedPath(rx::kProfileIconPath);
    fs::create_directories(fs::path(path).parent_path());
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    QImageWriter writer(QString::fromStdString(path), "icns");
    ASSERT_TRUE(writer.write(icon)) << writer.errorString().toStdString();
}

class Window : public ::testing::Test {
protected:
    void SetUp() override
    {
        useBuildBundle();
        ASSERT_TRUE(QVPListSetServicePaths("tester", "rx8240"));
        fs::create_directories(QVPListProfileDirectory());
        fs::remove(QVPListCurrentPath());
        std::memset(lists, 0, sizeof lists);
    }

    void saveLists() { ASSERT_EQ(QVPListWriteProfile_All(&lists[0], &lists[1], &lists[2]), 0); }
    ProfileList readBack(int classIndex)
    {
        ProfileList l;
        std::memset(&l, 0, sizeof l);
        EXPECT_EQ(QVPListReadProfile_All(classIndex == 0 ? &l : &scratch, classIndex == 1 ? &l : &scratch,
                                         classIndex == 2 ? &l : &scratch),
                  0);
        return l;
    }

    void open(const char* deviceUri = "lpd://192.0.2.7/queue")
    {
        session.setCurrentPrinter(rx::Printer{"rx8240", deviceUri});
        control.setPMPrint(&settings, &session);
        control.setOpenPanel([this](QWidget*, const QString& directory) {
            panelDirectory = directory;
            return chosen;
        });
        ASSERT_TRUE(control.initWithProfileControl());
        QDialog* w = control.window();
        table = w->findChild<QTableView*>("_profileTableView");
        fileName = w->findChild<pde::QVTextField*>("_fileNameEdit");
        profileName = w->findChild<pde::QVTextField*>("_profileNameEdit");
        location = w->findChild<QComboBox*>("_locationMenu");
        classMenu = w->findChild<QComboBox*>("_profileMenu");
        for (const char* name : {"_addButton", "_editButton", "_deleteButton", "_localOK", "_localCancel", "_browse"})
            buttons[name] = w->findChild<QPushButton*>(name);
        ASSERT_TRUE(table && fileName && profileName && location && classMenu);
    }

    bool enabled(const char* name) { return buttons.at(name)->isEnabled(); }
    void type(pde::QVTextField* field, const QString& text)
    {
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(field, &press);
        }
    }
    // Add with the edit area's OK; true when the edit area closed.
    bool add(const QString& file, const QString& name, int locationIndex = 0)
    {
        control.addButton();
        type(fileName, file);
        type(profileName, name);
        location->setCurrentIndex(locationIndex);
        control.profileOK();
        return control.editMode() == pde::ProfileControl::kEditNone;
    }
    QStringList column(const char* identifier, int role = Qt::DisplayRole)
    {
        QStringList out;
        const int c = pde::ProfileControl::columnOfIdentifier(identifier);
        for (int r = 0; r < table->model()->rowCount(); ++r)
            out << table->model()->index(r, c).data(role).toString();
        return out;
    }

    ProfileList lists[3];
    ProfileList scratch;
    rx::PrintSettings settings;
    rx::PrintSession session;
    pde::ProfileControl control;
    QString chosen;
    QString panelDirectory;
    QTableView* table = nullptr;
    pde::QVTextField* fileName = nullptr;
    pde::QVTextField* profileName = nullptr;
    QComboBox* location = nullptr;
    QComboBox* classMenu = nullptr;
    std::map<std::string, QPushButton*> buttons;
};

TEST_F(Window, OpensOnTheRgbListWithTheEditAreaOff)
{
    append(lists[0], entry(4, "R1.ICC", "Office", kLocationDisk));
    append(lists[0], entry(1, "R2.ICC", "Home", kLocationCard));
    append(lists[2], entry(6, "D1.ICC", "Press", kLocationCard));
    saveLists();
    open();
    QAbstractItemModelTester tester(table->model(), QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(classMenu->currentIndex(), 0);
    EXPECT_TRUE(classMenu->isEnabled());
    EXPECT_EQ(column("filename"), (QStringList{"R1.ICC", "R2.ICC"}));
    EXPECT_EQ(column("profilename"), (QStringList{"Office", "Home"}));
    EXPECT_EQ(column("location"), (QStringList{"Disk", "Card"}));
    EXPECT_EQ(column("inmenu", Qt::CheckStateRole), (QStringList{"2", "0"}));
    EXPECT_TRUE(enabled("_addButton"));
    EXPECT_FALSE(enabled("_editButton") || enabled("_deleteButton") || enabled("_localOK") || enabled("_browse"));
    EXPECT_FALSE(fileName->isEnabled() || profileName->isEnabled() || location->isEnabled());
    EXPECT_EQ(control.window()->windowTitle(), QStringLiteral("Profile Management"));
    EXPECT_EQ(table->model()->headerData(4, Qt::Horizontal, Qt::UserRole).toString(), QStringLiteral("inmenu"));

    classMenu->setCurrentIndex(2);
    control.profileMenu();
    EXPECT_EQ(column("filename"), QStringList{"D1.ICC"});
    classMenu->setCurrentIndex(1);
    control.profileMenu();
    EXPECT_EQ(table->model()->rowCount(), 0);
}

TEST_F(Window, IconOnlyForConfirmedEntriesOfNetworkQueues)
{
    writeIcon();
    append(lists[0], entry(4, "A.ICC", "a"));
    append(lists[0], entry(3, "B.ICC", "b"));
    append(lists[0], entry(6, "C.ICC", "c"));
    saveLists();
    const int icon = pde::ProfileControl::columnOfIdentifier("icon");
    for (const char* uri : {"lpd://192.0.2.7/q", "dnssd://Printer._pdl-datastream._tcp.local./"}) {
        open(uri);
        EXPECT_FALSE(table->model()->index(0, icon).data(Qt::DecorationRole).isNull()) << uri;
        EXPECT_TRUE(table->model()->index(1, icon).data(Qt::DecorationRole).isNull()) << uri;
        EXPECT_TRUE(table->model()->index(2, icon).data(Qt::DecorationRole).isNull()) << uri;
    }
    open("socket://192.0.2.7");
    EXPECT_TRUE(table->model()->index(0, icon).data(Qt::DecorationRole).isNull());
}

TEST_F(Window, SelectingARowShowsItAndOffersDeleteOnlyForUnconfirmedEntries)
{
    append(lists[0], entry(4, "A.ICC", "Alpha", kLocationCard));
    append(lists[0], entry(3, "B.ICC", "Beta", kLocationDisk));
    saveLists();
    open();
    table->selectRow(0);
    EXPECT_EQ(fileName->text(), QStringLiteral("A.ICC"));
    EXPECT_EQ(profileName->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(location->currentIndex(), 1);
    EXPECT_TRUE(enabled("_addButton") && enabled("_editButton"));
    EXPECT_FALSE(enabled("_deleteButton"));
    table->selectRow(1);
    EXPECT_EQ(location->currentIndex(), 0);
    EXPECT_TRUE(enabled("_deleteButton"));
    table->clearSelection();
    EXPECT_EQ(fileName->text(), QString());
    EXPECT_FALSE(enabled("_editButton") || enabled("_deleteButton"));
}

TEST_F(Window, FullListRefusesAnAdd)
{
    for (int i = 0; i < kProfileListCapacity; ++i)
        append(lists[0], entry(6, QStringLiteral("P%1.ICC").arg(i).toLatin1().constData(), "x"));
    saveLists();
    open();
    ASSERT_EQ(table->model()->rowCount(), 500);
    EXPECT_FALSE(add(QStringLiteral("NEW.ICC"), QStringLiteral("new")));
    EXPECT_EQ(control.list(0).iNum, 500);
    EXPECT_EQ(table->model()->rowCount(), 500);
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditAdding) << "the edit area stays open";
}

TEST_F(Window, SameFileNameIsAddedOnlyOnTheOtherLocation)
{
    append(lists[0], entry(6, "ABC.ICC", "disk"));
    saveLists();
    open();
    EXPECT_TRUE(add(QStringLiteral("ABC.ICC"), QStringLiteral("card"), 1));
    EXPECT_EQ(control.list(0).iNum, 2);
    EXPECT_EQ(control.list(0).litem[1].iLocation, kLocationCard);
    EXPECT_FALSE(add(QStringLiteral("ABC.ICC"), QStringLiteral("again"), 0));
    EXPECT_EQ(control.list(0).iNum, 2);
    EXPECT_FALSE(add(QStringLiteral("ABC.ICC"), QStringLiteral("again"), 1));
    control.profileCancel();
    EXPECT_TRUE(add(QStringLiteral("abc.icc"), QStringLiteral("case differs"), 0));
    EXPECT_EQ(control.list(0).iNum, 3);
}

TEST_F(Window, AddingIntoThreeEntriesFillsSlotThree)
{
    for (const char* f : {"A.ICC", "B.ICC", "C.ICC"})
        append(lists[2], entry(3, f, "x"));
    saveLists();
    open();
    classMenu->setCurrentIndex(2);
    control.profileMenu();
    control.addButton();
    EXPECT_FALSE(classMenu->isEnabled());
    EXPECT_FALSE(enabled("_localOK")) << "OK waits for a usable file name";
    type(fileName, QStringLiteral("NEW.ICC"));
    EXPECT_TRUE(enabled("_localOK"));
    type(profileName, QStringLiteral("Brand new"));
    location->setCurrentIndex(1);
    control.profileOK();
    const ProfileListItem& slot = control.list(2).litem[3];
    EXPECT_EQ(slot.iIndexOnDevice, 503);
    EXPECT_EQ(slot.iInMenu, 6);
    EXPECT_EQ(slot.iProfileClass, 2);
    EXPECT_EQ(slot.iDriver, 3);
    EXPECT_STREQ(slot.FileName, "NEW.ICC");
    EXPECT_STREQ(slot.ProfileName, "Brand new");
    EXPECT_EQ(slot.iLocation, kLocationCard);
    EXPECT_EQ(control.list(2).iNum, 4);
    EXPECT_EQ(table->model()->rowCount(), 4);
    EXPECT_TRUE(classMenu->isEnabled());
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditNone);
}

TEST_F(Window, EmptyOrDotFileNameKeepsTheEditAreaOpen)
{
    saveLists();
    open();
    EXPECT_FALSE(add(QString(), QStringLiteral("name")));
    EXPECT_FALSE(add(QStringLiteral(".ICC"), QStringLiteral("name")));
    EXPECT_EQ(control.list(0).iNum, 0);
}

// Over pap:// and usb:// the window's reading turns confirmed entries (2, 4)
// into manual ones, so a device profile there has code 1 or 3.
TEST_F(Window, EditingADeviceProfileChangesOnlyItsDisplayName)
{
    struct Case {
        const char* uri;
        int32_t code;
        int recorded;  // entries in the deleted list afterwards
    };
    for (const Case& c : {Case{"lpd://192.0.2.7/q", 4, 0}, Case{"pap://printer", 3, 1}, Case{"usb://p", 1, 1}}) {
        std::memset(lists, 0, sizeof lists);
        append(lists[0], entry(c.code, "DEV.ICC", "Device", kLocationDisk, 7));
        saveLists();
        open(c.uri);
        table->selectRow(0);
        control.editButton();
        EXPECT_FALSE(fileName->isEnabled() || location->isEnabled() || enabled("_browse")) << c.uri;
        EXPECT_TRUE(profileName->isEnabled() && enabled("_localOK") && enabled("_localCancel")) << c.uri;
        fileName->setText(QStringLiteral("OTHER.ICC"));
        location->setCurrentIndex(1);
        type(profileName, QStringLiteral("Renamed"));
        control.profileOK();
        const ProfileListItem& item = control.list(0).litem[0];
        EXPECT_STREQ(item.FileName, "DEV.ICC") << c.uri;
        EXPECT_STREQ(item.ProfileName, "Renamed") << c.uri;
        EXPECT_EQ(item.iLocation, kLocationDisk) << c.uri;
        EXPECT_EQ(item.iInMenu, c.code) << c.uri;
        ASSERT_EQ(control.deletedList(0).iNum, c.recorded) << c.uri;
        if (c.recorded) {
            EXPECT_STREQ(control.deletedList(0).litem[0].ProfileName, "Device") << "the entry as it was";
        }
    }
}

TEST_F(Window, EditingAManualEntryChangesEverything)
{
    append(lists[1], entry(6, "SIM.ICC", "Sim", kLocationDisk));
    append(lists[1], entry(6, "TAKEN.ICC", "Other", kLocationCard));
    saveLists();
    open();
    classMenu->setCurrentIndex(1);
    control.profileMenu();
    table->selectRow(0);
    control.editButton();
    EXPECT_TRUE(fileName->isEnabled() && location->isEnabled() && enabled("_localOK"));
    type(fileName, QStringLiteral("TAKEN.ICC"));
    location->setCurrentIndex(1);
    control.profileOK();
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditEditing) << "a duplicate of another row is refused";
    type(fileName, QStringLiteral("SIM.ICC"));
    control.profileOK();
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditNone) << "its own name is no duplicate";
    EXPECT_EQ(control.list(1).litem[0].iLocation, kLocationCard);
    EXPECT_EQ(control.deletedList(1).iNum, 0) << "lpd keeps no deleted list";
}

TEST_F(Window, SelectionIsFrozenWhileEditing)
{
    append(lists[0], entry(6, "A.ICC", "a"));
    append(lists[0], entry(6, "B.ICC", "b"));
    saveLists();
    open();
    table->selectRow(0);
    control.editButton();
    table->selectRow(1);
    EXPECT_EQ(control.selectedRow(), 0);
    EXPECT_EQ(fileName->text(), QStringLiteral("A.ICC"));
    control.profileCancel();
    EXPECT_EQ(control.selectedRow(), -1);
    EXPECT_EQ(fileName->text(), QString());
    table->selectRow(1);
    EXPECT_EQ(control.selectedRow(), 1);
}

TEST_F(Window, DeletingTheMiddleOfThreeKeepsTheOrder)
{
    append(lists[0], entry(1, "A.ICC", "a"));
    append(lists[0], entry(5, "B.ICC", "b"));
    append(lists[0], entry(6, "C.ICC", "c"));
    saveLists();
    open();
    table->selectRow(1);
    control.deleteButton();
    const ProfileList& l = control.list(0);
    EXPECT_EQ(l.iNum, 2);
    EXPECT_STREQ(l.litem[0].FileName, "A.ICC");
    EXPECT_STREQ(l.litem[1].FileName, "C.ICC");
    EXPECT_EQ(l.litem[2].iInMenu, 0);
    EXPECT_STREQ(l.litem[2].FileName, "");
    EXPECT_EQ(column("filename"), (QStringList{"A.ICC", "C.ICC"}));
    EXPECT_EQ(control.selectedRow(), -1);
    EXPECT_EQ(control.deletedList(0).iNum, 0);
    EXPECT_FALSE(enabled("_deleteButton") || enabled("_editButton"));
}

TEST_F(Window, CheckBoxTogglesEachCodeAndBack)
{
    const int32_t codes[] = {1, 2, 3, 4, 5, 6};
    const int32_t toggled[] = {3, 4, 1, 2, 6, 5};
    for (int32_t c : codes)
        append(lists[0], entry(c, QStringLiteral("F%1.ICC").arg(c).toLatin1().constData(), "x"));
    saveLists();
    open();
    QAbstractItemModel* model = table->model();
    const int box = pde::ProfileControl::columnOfIdentifier("inmenu");
    for (int r = 0; r < 6; ++r) {
        // The value handed in is not looked at.
        ASSERT_TRUE(model->setData(model->index(r, box), Qt::Unchecked, Qt::CheckStateRole));
        EXPECT_EQ(control.list(0).litem[r].iInMenu, toggled[r]) << "code " << codes[r];
    }
    EXPECT_EQ(column("inmenu", Qt::CheckStateRole), (QStringList{"2", "2", "0", "0", "2", "0"}));
    for (int r = 0; r < 6; ++r) {
        model->setData(model->index(r, box), Qt::Checked, Qt::CheckStateRole);
        EXPECT_EQ(control.list(0).litem[r].iInMenu, codes[r]);
    }
    EXPECT_FALSE(model->setData(model->index(0, 1), QStringLiteral("X.ICC"), Qt::EditRole));
    EXPECT_STREQ(control.list(0).litem[0].FileName, "F1.ICC");
}

TEST_F(Window, UsbDeletionIsRecordedAndHiddenEntriesSurviveOk)
{
    append(lists[0], entry(2, "HIDDEN.ICC", "hidden", kLocationDisk, 3));
    append(lists[0], entry(1, "GONE.ICC", "gone", kLocationDisk, 4));
    append(lists[0], entry(6, "KEEP.ICC", "keep", kLocationCard));
    saveLists();
    open("usb://TARNVALE/rx8240?serial=1");
    EXPECT_EQ(column("filename"), (QStringList{"GONE.ICC", "KEEP.ICC"})) << "code 2 is hidden over usb";
    table->selectRow(0);
    control.deleteButton();
    ASSERT_EQ(control.deletedList(0).iNum, 1);
    EXPECT_STREQ(control.deletedList(0).litem[0].FileName, "GONE.ICC");
    control.profileWindowOK();
    const ProfileList file = readBack(0);
    QStringList names;
    for (int i = 0; i < file.iNum; ++i)
        names << QString::fromUtf8(file.litem[i].FileName);
    names.sort();
    EXPECT_EQ(names, (QStringList{"HIDDEN.ICC", "KEEP.ICC"}));
}

TEST_F(Window, DeletedListTakesNoMoreThan500)
{
    for (int i = 0; i < kProfileListCapacity; ++i)
        append(lists[0], entry(6, QStringLiteral("P%1.ICC").arg(i).toLatin1().constData(), "x"));
    saveLists();
    open("usb://x");
    for (int i = 0; i < 501; ++i) {
        table->selectRow(0);
        control.deleteButton();
    }
    EXPECT_EQ(control.list(0).iNum, 0);
    EXPECT_EQ(control.deletedList(0).iNum, 500);
    EXPECT_STREQ(control.deletedList(0).litem[499].FileName, "P499.ICC");
}

struct BrowseCase {
    const char* file;
    const char* field;  // what the file name field holds afterwards
    bool ok;
};

TEST_F(Window, BrowseTakesOnlyNamesTheFieldWouldAccept)
{
    saveLists();
    open();
    for (const BrowseCase& c : {BrowseCase{"/p/ABCDEFGH.ICC", "ABCDEFGH.ICC", true},
                                BrowseCase{"/p/ABCDEFGHI.ICC", "", false},  // 13 characters
                                BrowseCase{"/p/A.B.ICC", "", false},        // two dots
                                BrowseCase{"/p/MY FILE.ICC", "", false},    // a space
                                BrowseCase{"/p/X@Y.ICC", "", false},
                                BrowseCase{"/p/N\xc3\x84.ICC", "", false},
                                BrowseCase{"/p/NODOT", "NODOT", true}}) {
        control.addButton();
        type(fileName, QStringLiteral("OLD.ICC"));
        chosen = QString::fromUtf8(c.file);
        control.browseButton();
        EXPECT_EQ(fileName->text(), QString::fromUtf8(c.field)) << c.file;
        EXPECT_EQ(enabled("_localOK"), c.ok) << c.file;
        control.profileCancel();
    }
    EXPECT_EQ(panelDirectory, QString::fromStdString(rx::fixedPath(rx::kProfilesFolder)));

    control.addButton();
    type(fileName, QStringLiteral("OLD.ICC"));
    chosen = QString();  // the open panel was cancelled
    control.browseButton();
    EXPECT_EQ(fileName->text(), QStringLiteral("OLD.ICC"));
    EXPECT_TRUE(enabled("_localOK"));
}

TEST_F(Window, CancelWritesNothingAndTheNextOpeningReadsAfresh)
{
    append(lists[0], entry(6, "A.ICC", "a"));
    saveLists();
    const std::string before = fileBytes(QVPListCurrentPath());
    open();
    EXPECT_TRUE(add(QStringLiteral("B.ICC"), QStringLiteral("b")));
    control.profileWindowCancel();
    EXPECT_EQ(fileBytes(QVPListCurrentPath()), before);
    open();
    EXPECT_EQ(column("filename"), QStringList{"A.ICC"});
}

TEST_F(Window, OkWritesTheThreeLists)
{
    append(lists[0], entry(4, "A.ICC", "a"));
    saveLists();
    open();
    QAbstractItemModel* model = table->model();
    model->setData(model->index(0, pde::ProfileControl::columnOfIdentifier("inmenu")), 0, Qt::CheckStateRole);
    classMenu->setCurrentIndex(2);
    control.profileMenu();
    EXPECT_TRUE(add(QStringLiteral("DST.ICC"), QStringLiteral("dst"), 1));
    control.profileWindowOK();
    const ProfileList rgb = readBack(0);
    ASSERT_EQ(rgb.iNum, 1);
    EXPECT_EQ(rgb.litem[0].iInMenu, 2);
    const ProfileList dst = readBack(2);
    ASSERT_EQ(dst.iNum, 1);
    EXPECT_STREQ(dst.litem[0].FileName, "DST.ICC");
    EXPECT_EQ(dst.litem[0].iLocation, kLocationCard);
    EXPECT_EQ(dst.litem[0].iIndexOnDevice, 500);
}

// The window inside the panel: on OK the advanced view rebuilds its profile
// menus from the written file and restores the chosen profile by its path.
TEST_F(Window, OkRebuildsTheMenusAndKeepsTheChosenProfile)
{
    append(lists[0], entry(4, "P1.ICC", "one"));
    append(lists[0], entry(4, "P2.ICC", "two"));
    append(lists[0], entry(6, "P3.ICC", "three", kLocationCard));
    saveLists();
    Panel panel;
    panel.build();
    panel.restore();
    QComboBox* menu = panel.advanced->menu_iRGBSource;
    const int n = menu->count() - 3;
    ASSERT_GT(n, 0);
    menu->setCurrentIndex(n + 1);  // P2
    ASSERT_EQ(menu->currentText(), QStringLiteral("P2.ICC(two)Disk"));

    session = panel.session;
    control.setAdvancedView(panel.advanced);
    control.setConstTable(panel.advanced->getControlData());
    control.setPMPrint(&panel.settings, &panel.session);
    ASSERT_TRUE(control.initWithProfileControl());
    table = control.window()->findChild<QTableView*>("_profileTableView");
    QAbstractItemModel* model = table->model();
    // Hiding P1 moves P2 one item up; P3 is renamed.
    model->setData(model->index(0, pde::ProfileControl::columnOfIdentifier("inmenu")), 0, Qt::CheckStateRole);
    fileName = control.window()->findChild<pde::QVTextField*>("_fileNameEdit");
    profileName = control.window()->findChild<pde::QVTextField*>("_profileNameEdit");
    location = control.window()->findChild<QComboBox*>("_locationMenu");
    table->selectRow(2);
    control.editButton();
    type(profileName, QStringLiteral("tres"));
    control.profileOK();
    control.profileWindowOK();

    ASSERT_EQ(menu->count(), n + 2);
    EXPECT_EQ(menu->itemText(n), QStringLiteral("P2.ICC(two)Disk"));
    EXPECT_EQ(menu->itemText(n + 1), QStringLiteral("P3.ICC(tres)Card"));
    EXPECT_EQ(menu->currentIndex(), n) << "the selection stays on P2";
    EXPECT_EQ(control.window()->result(), QDialog::Accepted);
}

// Loading the panel hands the window the print objects, the compound table
// and the advanced view, so the window works before anyone presses the button.
TEST_F(Window, PanelHandsTheWindowItsObjectsWhenItLoads)
{
    struct Callback : rx::PDEHostCallback {
        rx::PrintSettings* printSettings() override { return &printSettings_; }
        rx::PrintSession* printSession() override { return &printSession_; }
        ppd_file_t* ppdFile() override { return ppd.get(); }
        PpdHandle ppd = openPpd("rx8240.ppd");
        rx::PrintSettings printSettings_;
        rx::PrintSession printSession_{rx::Printer{"rx8240", "usb://TARNVALE/rx8240"}};
    } callback;
    append(lists[0], entry(3, "P1.ICC", "one"));
    saveLists();
    pde::PDEPlugInInterface panel(&callback);
    ASSERT_TRUE(panel.panelView());
    auto* window = panel.findChild<pde::ProfileControl*>();
    ASSERT_TRUE(window);
    ASSERT_TRUE(window->initWithProfileControl());
    EXPECT_EQ(window->protocol(), 3) << "the panel's session";
    EXPECT_EQ(window->list(0).iNum, 1);

    // OK applies the constraints over both views: the compound table.
    panel.colorView()->menu_QuickColor->setCurrentIndex(3);
    panel.colorView()->check_ColorAsGrayscale->setChecked(true);
    ASSERT_TRUE(panel.advancedView()->menu_iRGBSource->isEnabled());
    window->profileWindowOK();
    EXPECT_FALSE(panel.advancedView()->menu_iRGBSource->isEnabled());
    EXPECT_EQ(panel.advancedView()->menu_iRGBSource->itemText(panel.advancedView()->menu_iRGBSource->count() - 1),
              QStringLiteral("P1.ICC(one)Disk"));
    panel.terminate();
}

// ---- The window as a keyboard and mouse user meets it ---------------------

class WindowKeys : public Window {
protected:
    void show()
    {
        QDialog* w = control.window();
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    QPushButton* button(const char* name) { return buttons.at(name); }
    QString focused() const
    {
        QWidget* f = QApplication::focusWidget();
        return f ? f->objectName() : QStringLiteral("(none)");
    }
    void key(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k); }
    // Tab from the focused control round the window, once.
    QStringList tabRound()
    {
        QStringList order{focused()};
        for (int i = 0; i < 16; ++i) {
            key(Qt::Key_Tab);
            if (focused() == order.constFirst())
                break;
            order << focused();
        }
        return order;
    }
};

// After Add or Edit the focus is in the first field the mode enables, so a
// space typed into the file name never presses a button.
TEST_F(WindowKeys, AddAndEditFocusTheFirstFieldTheyEnable)
{
    append(lists[0], entry(4, "DEV.ICC", "Device"));
    append(lists[0], entry(6, "MAN.ICC", "Manual"));
    saveLists();
    open();
    show();
    struct Case {
        int row;  // -1: Add
        const char* button;
        const char* field;
    } cases[] = {{-1, "_addButton", "_fileNameEdit"}, {0, "_editButton", "_profileNameEdit"},
                 {1, "_editButton", "_fileNameEdit"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button + std::to_string(c.row));
        if (c.row >= 0)
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                              table->visualRect(table->model()->index(c.row, 1)).center());
        QTest::mouseClick(button(c.button), Qt::LeftButton);
        EXPECT_EQ(focused(), QString::fromLatin1(c.field));
        key(Qt::Key_Escape);
        EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditNone);
    }
    QTest::mouseClick(button("_addButton"), Qt::LeftButton);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("AB CD.ICC"));
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditAdding);
    EXPECT_EQ(fileName->text(), QStringLiteral("ABCD.ICC"));
    EXPECT_TRUE(control.window()->isVisible());
}

// Tab leaves the table and reaches every control the state enables.
TEST_F(WindowKeys, TabVisitsEveryEnabledControl)
{
    append(lists[0], entry(6, "MAN.ICC", "Manual"));
    saveLists();
    open();
    show();
    table->selectRow(0);
    classMenu->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(tabRound(), (QStringList{"_profileMenu", "_profileTableView", "_addButton", "_editButton",
                                       "_deleteButton", "_windowCancel", "_windowOK"}));
    control.editButton();
    EXPECT_EQ(tabRound(), (QStringList{"_fileNameEdit", "_browse", "_profileNameEdit", "_locationMenu",
                                       "_localCancel", "_localOK", "_windowCancel", "_windowOK",
                                       "_profileTableView"}));
}

// Return confirms the edit area only when its OK is enabled; Escape cancels
// the edit area when it is open and the window otherwise.
TEST_F(WindowKeys, ReturnConfirmsAndEscapeCancelsTheEditAreaFirst)
{
    open();
    show();
    QTest::mouseClick(button("_addButton"), Qt::LeftButton);
    key(Qt::Key_Return);
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditAdding) << "OK is disabled without a file name";
    QTest::keyClicks(fileName, QStringLiteral("NEW.ICC"));
    profileName->setFocus();
    QTest::keyClicks(profileName, QStringLiteral("New one"));
    key(Qt::Key_Return);
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditNone);
    EXPECT_EQ(column("filename"), QStringList{"NEW.ICC"});
    EXPECT_EQ(column("profilename"), QStringList{"New one"});
    EXPECT_TRUE(control.window()->isVisible()) << "Return never closes the window";

    QTest::mouseClick(button("_addButton"), Qt::LeftButton);
    QTest::keyClicks(fileName, QStringLiteral("GONE.ICC"));
    key(Qt::Key_Escape);
    EXPECT_EQ(control.editMode(), pde::ProfileControl::kEditNone);
    EXPECT_EQ(table->model()->rowCount(), 1);
    EXPECT_TRUE(control.window()->isVisible());
    key(Qt::Key_Escape);
    EXPECT_FALSE(control.window()->isVisible());
    EXPECT_EQ(control.window()->result(), QDialog::Rejected);
}

// A list file that cannot be written keeps the window open with the edits
// and says why; OK once the file can be written saves them.
TEST_F(WindowKeys, FailedWriteOnOkKeepsTheWindowAndItsEdits)
{
    open();
    show();
    ASSERT_TRUE(add(QStringLiteral("KEEP.ICC"), QStringLiteral("kept")));
    fs::create_directory(QVPListCurrentPath());  // no file can replace a directory
    QTest::mouseClick(control.window()->findChild<QPushButton*>("_windowOK"), Qt::LeftButton);
    EXPECT_TRUE(control.window()->isVisible());
    auto* message = control.window()->findChild<QLabel*>("_writeErrorText");
    ASSERT_TRUE(message);
    EXPECT_TRUE(message->isVisible());
    EXPECT_THAT(message->text().toStdString(), ::testing::HasSubstr("could not be saved"));
    EXPECT_EQ(column("filename"), QStringList{"KEEP.ICC"});

    fs::remove(QVPListCurrentPath());
    QTest::mouseClick(control.window()->findChild<QPushButton*>("_windowOK"), Qt::LeftButton);
    EXPECT_FALSE(control.window()->isVisible());
    EXPECT_EQ(control.window()->result(), QDialog::Accepted);
    EXPECT_STREQ(readBack(0).litem[0].FileName, "KEEP.ICC");
    open();
    EXPECT_FALSE(message->isVisible()) << "a new opening starts without the message";
}

}  // namespace
