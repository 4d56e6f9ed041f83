#include "plugin/profilewindow/ProfileControl.h"

#include "platform/Bundle.h"
#include "platform/FixedPaths.h"
#include "plugin/constraints/ConstraintEngine.h"
#include "plugin/frame/UiDescription.h"
#include "plugin/frame/WindowWaitDisplay.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/PDECommon.h"
#include "plugin/profilewindow/IconedCell.h"
#include "plugin/profilewindow/KeyFilters.h"
#include "plugin/profilewindow/ProfileTableModel.h"
#include "plugin/profilewindow/QVTextField.h"
#include "profilelist/ProfileListEntries.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

#include <algorithm>
#include <cstring>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

const char* const kWindowDescription = "ProfileControl";
const char* const kTitleKey = "ProfileTitle";
const char* const kDiskKey = "Disk";
const char* const kCardKey = "Card";
const char* const kWriteFailedKey = "ProfileWriteFailed";

// The two text fields of the edit area.
constexpr int32_t kFileNameMax = 12;
constexpr int32_t kFileNameExtension = 3;
constexpr int32_t kProfileNameMax = 30;

// Point sizes of the table's text.
constexpr int kColumnFontPoints = 12;
constexpr int kTableFontPoints = 9;

bool isPapOrUsb(int16_t protocol)
{
    return protocol == kProtocolPap || protocol == kProtocolUsb;
}

// A 32-byte name field as text; "" when it is not valid UTF-8.
QString fieldText(const char (&field)[kProfileNameFieldSize])
{
    return textOfUtf8(std::string_view(field, strnlen(field, kProfileNameFieldSize))).value_or(QString());
}

// Items of the location menu.
constexpr int kLocationMenuDisk = 0;
constexpr int kLocationMenuCard = 1;

std::string_view bytesOf(const QByteArray& utf8)
{
    return std::string_view(utf8.constData(), static_cast<size_t>(utf8.size()));
}

QString runFileDialog(QWidget* parent, const QString& directory)
{
    QFileDialog dialog(parent, QString(), directory);
    dialog.setObjectName(QStringLiteral("openPanel"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

}  // namespace

int ProfileControl::columnOfIdentifier(const char* identifier)
{
    for (int i = 0; i < kColumnCount; ++i)
        if (identifier && std::strcmp(kColumnIdentifiers[i], identifier) == 0)
            return i;
    return -1;
}

ProfileControl::ProfileControl(QObject* parent) : QObject(parent), openPanel_(runFileDialog) {}

ProfileControl::~ProfileControl()
{
    delete _profileManagementWindow.data();
}

void ProfileControl::setPMPrint(rx::PrintSettings* printSettings, rx::PrintSession* printSession)
{
    setting = printSettings;
    session = printSession;
}

void ProfileControl::setConstTable(PDEControlItem* table)
{
    constTable = table;
    constTableCount = 0;
    for ([[maybe_unused]] const PDEControlItem& row : rowsToEnd(table))
        ++constTableCount;
}

void ProfileControl::setAdvancedView(AdvancedColorOptions* view)
{
    onAdvancedView = view;
}

void ProfileControl::setOpenPanel(OpenPanel panel)
{
    openPanel_ = panel ? std::move(panel) : OpenPanel(runFileDialog);
}

// ---- The window ---------------------------------------------------------

bool ProfileControl::loadWindow()
{
    if (_profileManagementWindow)
        return true;
    rx::Bundle* bundle = pluginBundle();
    if (!bundle)
        return false;
    QWidget* parentWindow = onAdvancedView ? onAdvancedView->window() : nullptr;
    QWidget* root = loadUiDescription(*bundle, QString::fromLatin1(kWindowDescription), parentWindow);
    auto* dialog = qobject_cast<QDialog*>(root);
    if (!dialog) {
        delete root;
        return false;
    }
    // A parent makes a QDialog a window of its own above that parent.
    dialog->setWindowFlag(Qt::Dialog);
    dialog->setModal(true);

    // Every child is looked up, so that each missing one is left null.
    int missing = 0;
    auto find = [dialog, &missing](auto** into, const char* name) {
        using T = std::remove_pointer_t<std::remove_reference_t<decltype(*into)>>;
        *into = dialog->findChild<T*>(QString::fromLatin1(name));
        missing += *into == nullptr ? 1 : 0;
        return *into != nullptr;
    };
    find(&_profileMenu, "_profileMenu");
    find(&_profileTableView, "_profileTableView");
    find(&_addButton, "_addButton");
    find(&_editButton, "_editButton");
    find(&_deleteButton, "_deleteButton");
    find(&_editGroupBox, "_editGroupBox");
    find(&_fileNameText, "_fileNameText");
    find(&_profileNameText, "_profileNameText");
    find(&_locationText, "_locationText");
    find(&_fileNameEdit, "_fileNameEdit");
    find(&_profileNameEdit, "_profileNameEdit");
    find(&_locationMenu, "_locationMenu");
    find(&_browse, "_browse");
    find(&_localOK, "_localOK");
    find(&_localCancel, "_localCancel");
    find(&_windowOK, "_windowOK");
    find(&_windowCancel, "_windowCancel");
    find(&_writeErrorText, "_writeErrorText");
    const bool complete = missing == 0;
    QLabel* waitStatus = nullptr;
    QPushButton* stopWaiting = nullptr;
    if (!complete || !find(&waitStatus, "_waitStatus") || !find(&stopWaiting, "_stopWaiting")) {
        delete dialog;
        return false;
    }
    _profileManagementWindow = dialog;
    // The writes on OK wait on the window's own status: the host's takes no
    // clicks behind it.
    new WindowWaitDisplay(waitStatus, stopWaiting, dialog);

    // Static texts of the description are localisation keys.
    for (QLabel* label : dialog->findChildren<QLabel*>())
        if (!label->text().isEmpty())
            label->setText(localizedOrKey(label->text().toUtf8().constData()));
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
        if (!button->text().isEmpty())
            button->setText(localizedOrKey(button->text().toUtf8().constData()));
    for (QGroupBox* box : dialog->findChildren<QGroupBox*>())
        box->setTitle(localizedOrKey(box->title().toUtf8().constData()));
    for (int i = 0; i < _profileMenu->count(); ++i)
        _profileMenu->setItemText(i, localizedOrKey(_profileMenu->itemText(i).toUtf8().constData()));
    // Return in a field must not press a button of the window.
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    model_ = new ProfileTableModel(this, dialog);
    _profileTableView->setModel(model_);
    selection_ = new ProfileSelectionModel(this, model_);
    _profileTableView->setSelectionModel(selection_);
    _profileTableView->setSelectionBehavior(QAbstractItemView::SelectRows);
    _profileTableView->setSelectionMode(QAbstractItemView::SingleSelection);
    _profileTableView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    dialog->installEventFilter(this);
    connectActions();
    return true;
}

void ProfileControl::connectActions()
{
    connect(_addButton, &QPushButton::clicked, this, &ProfileControl::addButton);
    connect(_editButton, &QPushButton::clicked, this, &ProfileControl::editButton);
    connect(_deleteButton, &QPushButton::clicked, this, &ProfileControl::deleteButton);
    connect(_browse, &QPushButton::clicked, this, &ProfileControl::browseButton);
    connect(_localOK, &QPushButton::clicked, this, &ProfileControl::profileOK);
    connect(_localCancel, &QPushButton::clicked, this, &ProfileControl::profileCancel);
    connect(_profileMenu, &QComboBox::activated, this, &ProfileControl::profileMenu);
    connect(_windowOK, &QPushButton::clicked, this, &ProfileControl::profileWindowOK);
    connect(_windowCancel, &QPushButton::clicked, this, &ProfileControl::profileWindowCancel);
    connect(selection_, &QItemSelectionModel::selectionChanged, this, [this](const QItemSelection& selected) {
        if (!selected.isEmpty() && !selected.indexes().isEmpty())
            tableViewShouldSelectRow(selected.indexes().constFirst().row());
        tableViewSelectionDidChange();
    });
}

void ProfileControl::setupColumns()
{
    const int iconColumn = columnOfIdentifier("icon");
    if (!qobject_cast<IconedCell*>(_profileTableView->itemDelegateForColumn(iconColumn)))
        _profileTableView->setItemDelegateForColumn(iconColumn, new IconedCell(_profileTableView));
    QFont tableFont = _profileTableView->font();
    tableFont.setPointSize(kTableFontPoints);
    _profileTableView->setFont(tableFont);
    QHeaderView* header = _profileTableView->horizontalHeader();
    header->setSectionResizeMode(iconColumn, QHeaderView::Fixed);
    header->resizeSection(iconColumn, IconedCell::kIconInset * 2 + IconedCell::kIconSize);
    header->setSectionResizeMode(columnOfIdentifier("filename"), QHeaderView::ResizeToContents);
    header->setSectionResizeMode(columnOfIdentifier("profilename"), QHeaderView::Stretch);
    header->setSectionResizeMode(columnOfIdentifier("location"), QHeaderView::ResizeToContents);
    header->setSectionResizeMode(columnOfIdentifier("inmenu"), QHeaderView::ResizeToContents);
    _profileTableView->verticalHeader()->setVisible(false);
}

void ProfileControl::showProfileManagementWindow()
{
    if (!initWithProfileControl())
        return;
    _profileManagementWindow->setWindowTitle(localizedOrKey(kTitleKey));
    _profileManagementWindow->exec();
}

bool ProfileControl::initWithProfileControl()
{
    if (!loadWindow())
        return false;
    buttonIdentify = kEditNone;
    if (onAdvancedView)
        onAdvancedView->setControlValueToTicket();
    protocolType = PDECommon::commoniGetProtocol(session);

    const QString disk = localizedString(kDiskKey);
    const QString card = localizedString(kCardKey);
    if (!disk.isEmpty() && !card.isEmpty()) {
        _locationMenu->clear();
        _locationMenu->addItem(disk);
        _locationMenu->addItem(card);
    }
    setupColumns();
    icon_ = QImage(QString::fromStdString(rx::fixedPath(rx::kProfileIconPath)));

    _profileMenu->setEnabled(true);
    _profileMenu->setCurrentIndex(kClassRGB);
    vProfileSettingsClearEditText();

    _fileNameEdit->setMaxLength(kFileNameMax, kFileNameExtension);
    _fileNameEdit->setInputKey(kInputKeyAsciiAppoint);
    _fileNameEdit->setOperateControl(_localOK);
    _profileNameEdit->setMaxLength(kProfileNameMax, 0);
    _profileNameEdit->setInputKey(kInputKeyAscii);
    _profileNameEdit->setOperateControl(nullptr);

    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();

    for (ListKind kind : {kEditedList, kDeletedList})
        for (int c : {kClassRGB, kClassSIM, kClassDST})
            std::memset(classList(c, kind), 0, sizeof(ProfileList));
    // A class that cannot be read stays untouched, that is empty.
    QVPListReadProfile_EachClass(&plistRGBDict, &plistSIMDict, &plistDSTDict, isPapOrUsb(protocolType));

    reloadTable();
    clearSelection();
    _writeErrorText->hide();
    _profileManagementWindow->setWindowTitle(localizedOrKey(kTitleKey));
    _profileTableView->setFocus();
    return true;
}

bool ProfileControl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != _profileManagementWindow || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const bool editing = buttonIdentify != kEditNone;
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && editing && _localOK->isEnabled()) {
        profileOK();
        return true;
    }
    if (key != Qt::Key_Escape)
        return false;
    if (editing)
        profileCancel();
    else
        profileWindowCancel();
    return true;
}

// ---- Lists --------------------------------------------------------------

ProfileList* ProfileControl::classList(int classIndex, ListKind kind)
{
    return const_cast<ProfileList*>(std::as_const(*this).classList(classIndex, kind));
}

const ProfileList* ProfileControl::classList(int classIndex, ListKind kind) const
{
    using Member = ProfileList ProfileControl::*;
    static constexpr Member kLists[2][3] = {
        {&ProfileControl::plistRGBDict, &ProfileControl::plistSIMDict, &ProfileControl::plistDSTDict},
        {&ProfileControl::plistRGBDelete, &ProfileControl::plistSIMDDelete, &ProfileControl::plistDSTDelete},
    };
    if (classIndex < kClassRGB || classIndex > kClassDST)
        return nullptr;
    return &(this->*kLists[kind][classIndex]);
}

const ProfileList& ProfileControl::list(int classIndex) const
{
    const ProfileList* l = classList(classIndex, kEditedList);
    return l ? *l : plistRGBDict;
}

const ProfileList& ProfileControl::deletedList(int classIndex) const
{
    const ProfileList* l = classList(classIndex, kDeletedList);
    return l ? *l : plistRGBDelete;
}

int ProfileControl::currentClass() const
{
    return _profileMenu ? _profileMenu->currentIndex() : -1;
}

ProfileList* ProfileControl::currentProfileDict()
{
    return classList(currentClass(), kEditedList);
}

const ProfileList* ProfileControl::currentProfileDict() const
{
    return classList(currentClass(), kEditedList);
}

// Over pap:// and usb:// the write merges the edited lists into the file,
// so a deleted or edited entry must be named to leave the file.
void ProfileControl::recordDeleted(const ProfileListItem& item)
{
    if (isPapOrUsb(protocolType))
        QVPListAppendEntry(classList(currentClass(), kDeletedList), item);
}

int ProfileControl::selectedRow() const
{
    if (!selection_)
        return -1;
    const QModelIndexList rows = selection_->selectedRows();
    if (rows.isEmpty())
        return -1;
    const int row = rows.constFirst().row();
    return row < QVPListUsedCount(currentProfileDict()) ? row : -1;
}

bool ProfileControl::isCustomProfile() const
{
    const ProfileList* l = currentProfileDict();
    const int row = selectedRow();
    if (!l || row < 0)
        return false;
    const int32_t code = l->litem[row].iInMenu;
    return isDeviceState(code);
}

// ---- Table data source and delegate --------------------------------------

int ProfileControl::numberOfRowsInTableView() const
{
    return QVPListUsedCount(currentProfileDict());
}

QString ProfileControl::locationTitle(int32_t location) const
{
    if (location == kLocationDisk)
        return localizedOrKey(kDiskKey);
    if (location == kLocationCard)
        return localizedOrKey(kCardKey);
    return QString();
}

QVariant ProfileControl::tableViewObjectValue(int column, int row, int role) const
{
    const ProfileList* l = currentProfileDict();
    if (!l || row < 0 || row >= QVPListUsedCount(l) || column < 0 || column >= kColumnCount)
        return {};
    const ProfileListItem& item = l->litem[row];
    const std::string_view id = kColumnIdentifiers[column];
    if (id == "icon") {
        const bool confirmed = isConfirmedState(item.iInMenu);
        if (role == Qt::DecorationRole && confirmed && (protocolType == kProtocolLpd || protocolType == kProtocolDnssd) && !icon_.isNull())
            return icon_;
        return {};
    }
    if (id == "inmenu") {
        if (role == Qt::CheckStateRole) {
            return isShownState(item.iInMenu) ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    }
    if (role == Qt::FontRole) {
        QFont font = QApplication::font();
        font.setPointSize(kColumnFontPoints);
        return font;
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole)
        return {};
    if (id == "filename")
        return fieldText(item.FileName);
    if (id == "profilename")
        return fieldText(item.ProfileName);
    return locationTitle(item.iLocation);
}

bool ProfileControl::tableViewSetObjectValue(int column, int row)
{
    ProfileList* l = currentProfileDict();
    if (!l || row < 0 || row >= QVPListUsedCount(l) || column != columnOfIdentifier("inmenu"))
        return false;
    int32_t& code = l->litem[row].iInMenu;
    switch (code) {
    case kStateDeviceHidden: code = kStateDeviceShown; break;
    case kStateDeviceShown: code = kStateDeviceHidden; break;
    case kStateDeviceHiddenConfirmed: code = kStateDeviceShownConfirmed; break;
    case kStateDeviceShownConfirmed: code = kStateDeviceHiddenConfirmed; break;
    case kStateManualHidden: code = kStateManualShown; break;
    case kStateManualShown: code = kStateManualHidden; break;
    default: break;
    }
    return true;
}

bool ProfileControl::selectionShouldChangeInTableView() const
{
    return buttonIdentify != kEditAdding && buttonIdentify != kEditEditing;
}

bool ProfileControl::tableViewShouldSelectRow(int row)
{
    const ProfileList* l = currentProfileDict();
    if (!l || row < 0 || row >= QVPListUsedCount(l))
        return true;
    const ProfileListItem& item = l->litem[row];
    if (buttonIdentify == kEditNone) {
        const bool confirmed = isConfirmedState(item.iInMenu);
        vHandlingButtonSetDisable(true, true, !confirmed);
    }
    _fileNameEdit->setText(fieldText(item.FileName));
    _profileNameEdit->setText(fieldText(item.ProfileName));
    if (item.iLocation == kLocationCard)
        _locationMenu->setCurrentIndex(kLocationMenuCard);
    else if (item.iLocation == kLocationDisk)
        _locationMenu->setCurrentIndex(kLocationMenuDisk);
    return true;
}

void ProfileControl::tableViewSelectionDidChange()
{
    if (selectedRow() >= 0)
        return;
    vProfileSettingsClearEditText();
    if (buttonIdentify == kEditNone)
        vHandlingButtonSetDisable(true, false, false);
}

void ProfileControl::reloadTable()
{
    const bool hadSelection = selectedRow() >= 0;
    internalSelection_ = true;
    model_->reload();
    internalSelection_ = false;
    // A reset model drops the selection without telling.
    if (hadSelection)
        tableViewSelectionDidChange();
}

void ProfileControl::clearSelection()
{
    internalSelection_ = true;
    selection_->clearSelection();
    internalSelection_ = false;
}

// ---- Buttons -------------------------------------------------------------

void ProfileControl::profileMenu()
{
    if (!_profileManagementWindow)
        return;
    clearSelection();
    vProfileSettingsClearEditText();
    vHandlingButtonSetDisable(true, false, false);
    reloadTable();
}

void ProfileControl::addButton()
{
    if (!_profileManagementWindow)
        return;
    vProfileSettingsClearEditText();
    _profileMenu->setEnabled(false);
    vHandlingButtonSetDisable(false, false, false);
    vProfileSettingsAllEnablePart();
    // The file name field enables OK once its text qualifies.
    _localOK->setEnabled(false);
    buttonIdentify = kEditAdding;
    focusEditArea();
}

void ProfileControl::editButton()
{
    if (!_profileManagementWindow)
        return;
    vHandlingButtonSetDisable(false, false, false);
    if (isCustomProfile())
        setEditAreaEnabled(false, true, false, true);
    else
        vProfileSettingsAllEnablePart();
    _profileMenu->setEnabled(false);
    buttonIdentify = kEditEditing;
    focusEditArea();
}

void ProfileControl::focusEditArea()
{
    // The pressed button is disabled by now, and Qt has moved focus on to
    // the next control that takes it, as far as the window's buttons.
    for (QVTextField* field : {_fileNameEdit, _profileNameEdit})
        if (field->isEnabled()) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
}

void ProfileControl::deleteButton()
{
    if (!_profileManagementWindow)
        return;
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
    ProfileList* l = currentProfileDict();
    const int row = selectedRow();
    if (l && row >= 0) {
        recordDeleted(l->litem[row]);
        QVPListRemoveEntry(l, row);
        reloadTable();
    }
    if (selectedRow() >= 0)
        clearSelection();
}

void ProfileControl::browseButton()
{
    if (!_profileManagementWindow)
        return;
    const QString dir = QString::fromStdString(rx::fixedPath(rx::kProfilesFolder));
    const QString chosen = openPanel_(_profileManagementWindow, dir);
    if (chosen.isNull())
        return;
    _fileNameEdit->setText(QString());
    _localOK->setEnabled(false);

    const QString name = QFileInfo(chosen).fileName();
    if (name.size() > kFileNameMax || name.count(QLatin1Char('.')) > 1)
        return;
    // Taken only when the file-name field would keep every character of it.
    QString kept;
    if (CheckUniCharString(reinterpret_cast<const char16_t*>(name.utf16()), name.size(), kInputKeyAsciiAppoint,
                           &kept) != 0)
        return;
    _fileNameEdit->setText(name);
    _fileNameEdit->setOldString(name);
    _localOK->setEnabled(true);
}

void ProfileControl::profileOK()
{
    ProfileList* l = currentProfileDict();
    if (!l || !_profileManagementWindow)
        return;
    const QByteArray fileName = _fileNameEdit->text().toUtf8();
    const QByteArray profileName = _profileNameEdit->text().toUtf8();
    const int32_t location = _locationMenu->currentIndex() == kLocationMenuCard ? kLocationCard : kLocationDisk;
    if (fileName.isEmpty() || fileName.startsWith('.'))
        return;
    // The same file at the same location is refused, the edited entry aside.
    const int selected = selectedRow();
    const int except = buttonIdentify == kEditEditing ? selected : -1;
    if (QVPListFindFile(l, bytesOf(fileName), location, except) >= 0)
        return;
    if (!applyEditArea(l, selected, fileName, profileName, location))
        return;

    vProfileSettingsClearEditText();
    _profileMenu->setEnabled(true);
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
    reloadTable();
    clearSelection();
    buttonIdentify = kEditNone;
    _profileTableView->setFocus(Qt::OtherFocusReason);
}

bool ProfileControl::applyEditArea(ProfileList* list, int selected, const QByteArray& fileName,
                                   const QByteArray& profileName, int32_t location)
{
    if (buttonIdentify == kEditEditing) {
        if (selected < 0)
            return false;
        recordDeleted(list->litem[selected]);
        QVPListEditEntry(&list->litem[selected], bytesOf(fileName), bytesOf(profileName), location);
        return true;
    }
    return buttonIdentify == kEditAdding &&
           QVPListAddManualEntry(list, bytesOf(fileName), bytesOf(profileName), location) >= 0;
}

void ProfileControl::profileCancel()
{
    if (!_profileManagementWindow)
        return;
    vProfileSettingsClearEditText();
    clearSelection();
    _profileMenu->setEnabled(true);
    vHandlingButtonSetDisable(true, false, false);
    vProfileSettingsAllDisablePart();
    buttonIdentify = kEditNone;
    _profileTableView->setFocus(Qt::OtherFocusReason);
}

bool ProfileControl::writeLists()
{
    if (isPapOrUsb(protocolType))
        return QVPListWriteProfile_All_Pap(&plistRGBDict, &plistSIMDict, &plistDSTDict, &plistRGBDelete,
                                           &plistSIMDDelete, &plistDSTDelete) == 0;
    return QVPListWriteProfile_All(&plistRGBDict, &plistSIMDict, &plistDSTDict) == 0;
}

void ProfileControl::profileWindowOK()
{
    // A list that cannot be written keeps the window open with the edits,
    // so that the user can try again or cancel knowingly.
    if (!writeLists()) {
        if (_writeErrorText) {
            _writeErrorText->setText(localizedOrKey(kWriteFailedKey));
            _writeErrorText->show();
        }
        return;
    }
    if (onAdvancedView) {
        onAdvancedView->createPDEItemForPPDKey();
        onAdvancedView->getControlValueFromTicket();
    }
    if (constTable)
        vColorPresetConstraints(constTable);
    if (_profileManagementWindow)
        _profileManagementWindow->accept();
}

void ProfileControl::profileWindowCancel()
{
    if (_profileManagementWindow)
        _profileManagementWindow->reject();
}

// ---- Internal methods ----------------------------------------------------

void ProfileControl::vHandlingButtonSetDisable(bool add, bool edit, bool del)
{
    if (_addButton)
        _addButton->setEnabled(add);
    if (_editButton)
        _editButton->setEnabled(edit);
    if (_deleteButton)
        _deleteButton->setEnabled(del);
}

void ProfileControl::vProfileSettingsClearEditText()
{
    if (!_profileManagementWindow)
        return;
    _fileNameEdit->setText(QString());
    _profileNameEdit->setText(QString());
    _locationMenu->setCurrentIndex(0);
}

void ProfileControl::setEditAreaEnabled(bool fileName, bool profileName, bool location, bool buttons)
{
    if (!_profileManagementWindow)
        return;
    _fileNameText->setEnabled(fileName);
    _fileNameEdit->setEnabled(fileName);
    _browse->setEnabled(fileName);
    _profileNameText->setEnabled(profileName);
    _profileNameEdit->setEnabled(profileName);
    _locationText->setEnabled(location);
    _locationMenu->setEnabled(location);
    _localCancel->setEnabled(buttons);
    _localOK->setEnabled(buttons);
}

void ProfileControl::vProfileSettingsAllDisablePart()
{
    setEditAreaEnabled(false, false, false, false);
}

void ProfileControl::vProfileSettingsAllEnablePart()
{
    setEditAreaEnabled(true, true, true, true);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
