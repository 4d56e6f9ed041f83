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

namespace {

// The bundle's table of a language; null when it has none.
std::unique_ptr<QTranslator> loadTable(const QString& directory, const QString& language)
{
    auto table = std::make_unique<QTranslator>();
    if (language.isEmpty() || !table->load(QStringLiteral("ColorOptionsPDE_") + language, directory))
        return nullptr;
    return table;
}

QString lookUp(const QTranslator* table, const QByteArray& key)
{
    return table ? table->translate(kLocalizationContext, key.constData()) : QString();
}

}  // namespace

bool Bundle::setLanguage(const QString& language)
{
    const QString dir = resourcePath(QStringLiteral("translations"));
    if (!english_)
        english_ = loadTable(dir, QStringLiteral("en"));
    untranslated_.clear();
    translator_ = loadTable(dir, language);
    language_ = translator_ ? language : QStringLiteral("en");
    return translator_ != nullptr;
}

QString Bundle::localizedString(const QString& key) const
{
    const QByteArray utf8 = key.toUtf8();
    QString text = lookUp(translator_.get(), utf8);
    if (!text.isEmpty())
        return text;
    if (!untranslated_.contains(key))
        untranslated_.append(key);
    text = lookUp(english_.get(), utf8);
    return text.isEmpty() ? key : text;
}

}  // namespace rx
