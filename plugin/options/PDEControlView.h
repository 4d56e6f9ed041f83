// What the basic and the advanced view have in common: a view of the panel
// whose controls are bound to PPD options through its own control table.
// Every table operation hands the table to PDECommon.
#pragma once

#include "plugin/options/PDECommon.h"

#include <QWidget>
#include <memory>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class PDEControlView : public QWidget {
    Q_OBJECT
public:
    explicit PDEControlView(QWidget* parent = nullptr);
    ~PDEControlView() override;

    void setPPDFile(ppd_file_t* file) { ppd = file; }
    void setPMPrint(rx::PrintSettings* printSettings, rx::PrintSession* printSession);
    // Bounds at the origin with the size of the given rectangle.
    void setViewBounds(const QRect& rect);

    // Finds the view's control outlets among its children by object name;
    // an outlet that is not there stays null.
    virtual void connectOutlets() = 0;

    // Builds the view's table from its outlets and attaches the UI lists.
    virtual void createPDEControlTable() = 0;
    void deallocPDEControlTable();
    PDEControlItem* getControlData() const { return ctrlTable.get(); }
    int16_t getControlCount() const { return ctrlCount; }
    OSStatus addPPDArray(QStringList* array) const;
    virtual void createPDEItemForPPDKey();
    void defaultFromPPDInfo();
    void getControlValueFromTicket();
    void setControlValueToTicket();
    OSStatus getSummaryText(QVariantMap* dict, QStringList* array) const;

protected:
    // Steps shared by both views' builders: copy the template (ending in the
    // terminator) and attach each bound row's UI list from the PPD. False
    // when the table could not be allocated.
    bool buildTable(const PDEControlItem* rows, int16_t count);

    ppd_file_t* ppd = nullptr;
    std::unique_ptr<PDEControlItem[]> ctrlTable;
    int16_t ctrlCount = 0;
    rx::PrintSettings* setting = nullptr;
    rx::PrintSession* session = nullptr;
};

// The child of `view` named `name` when it is a T, else null.
template <typename T>
T* outlet(QWidget* view, const char* name)
{
    return view->findChild<T*>(QString::fromLatin1(name));
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
