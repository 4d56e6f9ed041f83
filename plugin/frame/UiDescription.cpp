#include "plugin/frame/UiDescription.h"

#include "platform/Bundle.h"
#include "plugin/frame/MainView.h"
#include "plugin/options/AdvancedColorOptions.h"
#include "plugin/options/ColorOptions.h"
#include "plugin/profilewindow/QVTextField.h"

#include <QDir>
#include <QFile>
#include <QUiLoader>

namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846 {

namespace {

class PanelUiLoader : public QUiLoader {
public:
    QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override
    {
        QWidget* w = nullptr;
        if (className == QLatin1String("MainView"))
            w = new MainView(parent);
        else if (className == QLatin1String("ColorOptions"))
            w = new ColorOptions(parent);
        else if (className == QLatin1String("AdvancedColorOptions"))
            w = new AdvancedColorOptions(parent);
        else if (className == QLatin1String("QVTextField"))
            w = new QVTextField(parent);
        else
            return QUiLoader::createWidget(className, parent, name);
        w->setObjectName(name);
        return w;
    }
};

}  // namespace

QWidget* loadUiDescription(const rx::Bundle& bundle, const QString& name, QWidget* parent)
{
    QFile file(bundle.resourcePath(name + QStringLiteral(".ui")));
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    PanelUiLoader loader;
    loader.setWorkingDirectory(QDir(bundle.resourcePath(QString())));
    return loader.load(&file, parent);
}

}  // namespace pde_6E3A90D2_4B7C_4F18_9D05_A1C7E2B3F846
