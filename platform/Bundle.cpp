#include "platform/Bundle.h"

#include <QDir>
#include <QLocale>

namespace rx {

static const char* const kLocalizationContext = "Localizable";

Bundle::Bundle(const QString& directory) : directory_(QDir(directory).absolutePath())
{
    const QString forced = qEnvironmentVariable("RX_LANG");
    if (!forced.isEmpty()) {
        setLanguage(forced);
        return;
    }
    for (const QString& lang : QLocale::system().uiLanguages()) {
        if (setLanguage(QString(lang).replace('-', '_')) || setLanguage(lang.left(2)))
            return;
    }
}

Bundle::~Bundle() = default;

QString Bundle::resourcePath(const QString& name) const
{
    return directory_ + QStringLiteral("/Resources/") + name;
}

bool Bundle::setLanguage(const QString& language)
{
    auto translator = std::make_unique<QTranslator>();
    const QString dir = resourcePath(QStringLiteral("translations"));
    if (!language.isEmpty() && translator->load(QStringLiteral("ColorOptionsPDE_") + language, dir)) {
        translator_ = std::move(translator);
        language_ = language;
        return true;
    }
    translator_.reset();
    language_ = QStringLiteral("en");
    return false;
}

QString Bundle::localizedString(const QString& key) const
{
    if (translator_) {
        const QByteArray utf8 = key.toUtf8();
        QString t = translator_->translate(kLocalizationContext, utf8.constData());
        if (!t.isEmpty())
            return t;
    }
    return key;
}

}  // namespace rx
