// The profile management window's controller: the modal window in which the
// user reviews and edits the three profile lists (RGB source, simulation,
// destination) of the current user: which profiles the panel's menus offer,
// their display names, and entries added by hand (a file name on the device
// and a storage location). On OK it writes the lists back through the
// service, makes the advanced view rebuild its profile menus and read its
// values again, and re-applies the colour preset constraints.
//
// The window comes from the bundle's UI description "ProfileControl"; its
// controls are found by object name (the member names below). The panel
// controller owns this object and hands it the print objects, the compound
// table and the advanced view when it loads.
#pragma once

#include "plugin/options/PDEControlItem.h"
#include "profilelist/ProfileList.h"

#include <QDialog>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace rx {
class PrintSettings;
class PrintSession;
}  // namespace rx

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class AdvancedColorOptions;
class ProfileTableModel;
class ProfileSelectionModel;
class QVTextField;

class ProfileControl : public QObject {
    Q_OBJECT
public:
    // Edit modes (buttonIdentify).
    enum EditMode : int32_t { kEditNone = 0, kEditAdding = 1, kEditEditing = 2 };

    // Table columns, by identifier.
    static constexpr const char* kColumnIdentifiers[] = {"icon", "filename", "profilename", "location", "inmenu"};
    static constexpr int kColumnCount = 5;
    // The column of an identifier; -1 for an unknown one.
    static int columnOfIdentifier(const char* identifier);

    // The open panel: answers the chosen file's path, or a null string when
    // the user did not press OK. The default runs a file dialog.
    using OpenPanel = std::function<QString(QWidget* parent, const QString& directory)>;

    explicit ProfileControl(QObject* parent = nullptr);
    ~ProfileControl() override;

    // ---- Set by the panel controller when it loads ---------------------
    void setPMPrint(rx::PrintSettings* printSettings, rx::PrintSession* printSession);
    // The compound table; not owned. Null: no constraint pass after OK.
    void setConstTable(PDEControlItem* table);
    void setAdvancedView(AdvancedColorOptions* view);
    void setOpenPanel(OpenPanel panel);

    // ---- State, for the panel, the tests and the host -------------------
    QDialog* window() const { return _profileManagementWindow; }
    int16_t protocol() const { return protocolType; }
    int32_t editMode() const { return buttonIdentify; }
    // The edited list of a class (0 RGB, 1 SIM, 2 DST); the deleted list.
    const ProfileList& list(int classIndex) const;
    const ProfileList& deletedList(int classIndex) const;
    // The selected row of the table; -1 when none.
    int selectedRow() const;

    // The list of the class the class menu shows; null for any other value.
    ProfileList* currentProfileDict();
    const ProfileList* currentProfileDict() const;
    // True when the selected row's code is 1 to 4 (a device profile).
    bool isCustomProfile() const;

    // ---- Table data source and delegate ---------------------------------
    // The current list's used slots; 0 without a current list.
    int numberOfRowsInTableView() const;
    // The value of a cell for a role (display, decoration, check state,
    // font); invalid when there is none.
    QVariant tableViewObjectValue(int column, int row, int role) const;
    // Toggles the row's code on the "inmenu" column (1<>3, 2<>4, 5<>6); the
    // value handed in is not looked at. False for other columns.
    bool tableViewSetObjectValue(int column, int row);
    // Selection changes are refused while an entry is being added or edited.
    bool selectionShouldChangeInTableView() const;
    // A row became selected: buttons and the edit area show it.
    bool tableViewShouldSelectRow(int row);
    // The selection changed; an empty selection clears the edit area.
    void tableViewSelectionDidChange();

public slots:
    // Prepares the window, titles it and runs it modally.
    void showProfileManagementWindow();
    // (Re)initialises the window and reads the lists; false when the
    // window's UI description cannot be loaded.
    bool initWithProfileControl();

    void addButton();
    void editButton();
    void deleteButton();
    void browseButton();
    void profileOK();
    void profileCancel();
    void profileMenu();
    // Writes the lists; a slow write shows in the window, which offers to
    // stop waiting. When the write fails or the wait was stopped the window
    // stays open with the user's edits and says so.
    void profileWindowOK();
    void profileWindowCancel();

public:
    // ---- Internal methods -----------------------------------------------
    void vHandlingButtonSetDisable(bool add, bool edit, bool del);
    void vProfileSettingsClearEditText();
    void vProfileSettingsAllDisablePart();
    void vProfileSettingsAllEnablePart();

protected:
    // Return confirms the edit area when its OK is enabled; Escape cancels
    // the edit area when it is open, else the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool loadWindow();
    bool writeLists();
    // Focus on the first field of the edit area the current mode enables.
    void focusEditArea();
    void connectActions();
    void setupColumns();
    void reloadTable();
    void clearSelection();
    void setEditAreaEnabled(bool fileName, bool profileName, bool location, bool buttons);
    // The six lists: a class's edited list or its deleted list; null for a
    // class index other than 0, 1, 2.
    enum ListKind { kEditedList = 0, kDeletedList = 1 };
    ProfileList* classList(int classIndex, ListKind kind);
    const ProfileList* classList(int classIndex, ListKind kind) const;
    // The class the class menu shows; -1 without a window.
    int currentClass() const;
    void recordDeleted(const ProfileListItem& item);
    // Adds or edits the entry as the edit area says; false when nothing
    // changed (no selection to edit, no free slot, no edit mode).
    bool applyEditArea(ProfileList* list, int selected, const QByteArray& fileName, const QByteArray& profileName,
                       int32_t location);
    QString locationTitle(int32_t location) const;

    rx::PrintSettings* setting = nullptr;
    rx::PrintSession* session = nullptr;
    int16_t protocolType = -1;
    PDEControlItem* constTable = nullptr;
    int16_t constTableCount = 0;

    QPointer<QDialog> _profileManagementWindow;
    QPointer<AdvancedColorOptions> onAdvancedView;
    QComboBox* _profileMenu = nullptr;
    QTableView* _profileTableView = nullptr;
    QPushButton* _addButton = nullptr;
    QPushButton* _editButton = nullptr;
    QPushButton* _deleteButton = nullptr;
    QGroupBox* _editGroupBox = nullptr;
    QLabel* _fileNameText = nullptr;
    QLabel* _profileNameText = nullptr;
    QLabel* _locationText = nullptr;
    QVTextField* _fileNameEdit = nullptr;
    QVTextField* _profileNameEdit = nullptr;
    QComboBox* _locationMenu = nullptr;
    QPushButton* _browse = nullptr;
    QPushButton* _localOK = nullptr;
    QPushButton* _localCancel = nullptr;
    QPushButton* _windowOK = nullptr;
    QPushButton* _windowCancel = nullptr;
    QLabel* _writeErrorText = nullptr;

    int32_t buttonIdentify = kEditNone;
    ProfileList plistRGBDict{};
    ProfileList plistSIMDict{};
    ProfileList plistDSTDict{};
    ProfileList plistRGBDelete{};
    ProfileList plistSIMDDelete{};
    ProfileList plistDSTDelete{};

    ProfileTableModel* model_ = nullptr;
    ProfileSelectionModel* selection_ = nullptr;
    QImage icon_;
    OpenPanel openPanel_;
    bool internalSelection_ = false;

    friend class ProfileSelectionModel;
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
