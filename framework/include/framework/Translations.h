// The program's texts in the user's language: the program's own translation
// and Qt's (standard buttons, the file dialog), installed for as long as the
// object lives.
#pragma once

#include <QString>
#include <QStringList>
#include <QTranslator>

#include <memory>
#include <vector>

namespace framework {

class Translations {
public:
    // Installs `<stem>_<language>.qm` from `folder` for the first of the
    // user's languages (most wanted first, as QLocale::uiLanguages() gives
    // them) that has one. The texts are written in English: a user who
    // prefers English before any language the program has gets no
    // translation at all.
    Translations(const QString& folder, const QString& stem, const QStringList& userLanguages);
    ~Translations();
    Translations(const Translations&) = delete;
    Translations& operator=(const Translations&) = delete;

    // The language installed, such as "de" or "de_AT"; empty for English.
    const QString& language() const { return language_; }

private:
    void install(std::unique_ptr<QTranslator> translator);

    std::vector<std::unique_ptr<QTranslator>> installed_;
    QString language_;
};

}  // namespace framework
