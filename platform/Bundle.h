// A plug-in bundle: a directory holding the plug-in's shared library, its
// user-interface descriptions and its translations.
//
//   ColorOptionsPDE.plugin/
//     libColorOptionsPDE.so
//     Resources/PDEMain.ui, Resources/*.ui
//     Resources/translations/ColorOptionsPDE_<lang>.qm
//
// Localisation uses the bundle's own translator, never the host
// application's: keys are looked up in the context "Localizable", and a key
// without a translation comes back as itself.
#pragma once

#include <QString>
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

    // Switches the translation; "en" or a language without a translation
    // file gives the keys themselves. False when no translation was loaded.
    bool setLanguage(const QString& language);
    QString language() const { return language_; }

    // The localised text of a key in the default table.
    QString localizedString(const QString& key) const;
    QString localizedString(const char* key) const { return localizedString(QString::fromUtf8(key)); }

private:
    QString directory_;
    QString language_;
    std::unique_ptr<QTranslator> translator_;
};

}  // namespace rx
