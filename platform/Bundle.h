// A plug-in bundle: a directory holding the plug-in's shared library, its
// user-interface descriptions and its translations.
//
//   ColorOptionsPDE.plugin/
//     libColorOptionsPDE.so
//     Resources/PDEMain.ui, Resources/*.ui
//     Resources/translations/ColorOptionsPDE_<lang>.qm
//
// Localisation uses the bundle's own translators, never the host
// application's: keys are looked up in the context "Localizable", first in
// the chosen language's table, then in the English table; a key neither
// holds comes back as itself.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>
#include <memory>

namespace rx {

class Bundle {
public:
    // The language is taken from the system locale's UI languages.
    explicit Bundle(const QString& directory);
    ~Bundle();

    Bundle(const Bundle&) = delete;
    Bundle& operator=(const Bundle&) = delete;

    const QString& directory() const { return directory_; }
    // Path of a file in Resources/.
    QString resourcePath(const QString& name) const;

    // Switches the translation; a language without a translation file gives
    // the English texts. False when no table of that language was loaded.
    bool setLanguage(const QString& language);
    QString language() const { return language_; }

    // The localised text of a key in the default table.
    QString localizedString(const QString& key) const;
    QString localizedString(const char* key) const { return localizedString(QString::fromUtf8(key)); }

    // The keys asked for since the language was set that the language's own
    // table has no text for (English or the key itself stood in), in the
    // order first asked.
    const QStringList& untranslatedKeys() const { return untranslated_; }

private:
    QString directory_;
    QString language_;
    std::unique_ptr<QTranslator> translator_;
    std::unique_ptr<QTranslator> english_;
    mutable QStringList untranslated_;
};

}  // namespace rx
