// Switches the panel between the basic and the advanced view inside one
// container, and addresses both views for the panel controller: every table
// operation goes to both views in a fixed order.
#pragma once

#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"
#include "plugin/options/PDECommon.h"

#include <QObject>
#include <QPointer>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

class PDEControlView;

class PainChangeController : public QObject {
    Q_OBJECT
public:
    explicit PainChangeController(QObject* parent = nullptr) : QObject(parent) {}

    // Outlets; none owned.
    QPointer<ColorOptions> onColorView;
    QPointer<AdvancedColorOptions> onAdvancedView;
    QPointer<QWidget> onMainCustomView;

    void SHowColorToAdvancedView();
    void ShowAdvancedToColorView();

    void creatPDEControlTableEachView();
    void deallocPDEControlTableEachView();
    void addPPDArrayEachView(QStringList* array);
    void setPPDFileEachView(ppd_file_t* ppd);
    void setPMPrintEachView(rx::PrintSettings* settings, rx::PrintSession* session);
    void createPDEItemForPPDKeyEachView();
    void defaultFromPPDInfoEachView();
    void getControlValueFromTickettEachView();
    void setControlValueToTicketEachView();

    // Clears `count` slots, puts the basic view's table in slot 0 and the
    // advanced view's in slot 1; 2.
    int16_t getControlDataEachView(ControlTable* tables, int count) const;
    int16_t getControlCountEachView() const;
    // The basic view's items, then the advanced view's own items under the
    // Custom Quick Color position (3) or the preset's items otherwise.
    void getSummaryTextEachView(QVariantMap* dict, QStringList* array) const;
    void changeAdvancedItemAccodingQuickColor();
    void getSummaryAdvancedItemAccodingQuickColor(QVariantMap* dict, QStringList* array) const;

public slots:
    void ColorToAdvancedView();
    void AdvancedToColorView();

private:
    void showInContainer(PDEControlView* shown, PDEControlView* other);
};

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
