#include "framework/Translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

namespace framework {

namespace {

bool isEnglish(const QString& language)
{
    return language == QLatin1String("C") || language == QLatin1String("en") ||
           language.startsWith(QLatin1String("en_"));
}

// "de-AT" is tried as "de_AT", then as "de".
QStringList candidates(QString language)
{
    language.replace('-', '_');
    QStringList names{language};
    const qsizetype territory = language.indexOf('_');
    if (territory > 0) names << language.left(territory);
    return names;
}

}  // namespace

Translations::Translations(const QString& folder, const QString& stem, const QStringList& userLanguages)
{
    for (const QString& wanted : userLanguages) {
        for (const QString& language : candidates(wanted)) {
            if (isEnglish(language)) return;
            // Checked by name first: QTranslator would also take a file of a
            // shorter name, and language() must say which one was taken.
            const QString file = stem + '_' + language + QStringLiteral(".qm");
            auto own = std::make_unique<QTranslator>();
            if (!QFileInfo::exists(folder + '/' + file) || !own->load(file, folder)) continue;
            language_ = language;
            install(std::move(own));
            // Qt's own texts where the system has them; the program's texts
            // are German even without them.
            auto qt = std::make_unique<QTranslator>();
            if (qt->load(QStringLiteral("qtbase_") + language, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                install(std::move(qt));
            return;
        }
    }
}

Translations::~Translations()
{
    for (const auto& translator : installed_) QCoreApplication::removeTranslator(translator.get());
}

void Translations::install(std::unique_ptr<QTranslator> translator)
{
    QCoreApplication::installTranslator(translator.get());
    installed_.push_back(std::move(translator));
}

}  // namespace framework
