// The German translation: complete, with the English placeholders, loaded for
// a German user (this program runs with LANGUAGE=de), and the English texts
// untouched where no translation is installed.
#include "MainWindowFixture.h"

#include "app/InstallLayout.h"

#include "core/KeyBytes.h"

#include "services/BuildVariant.h"
#include "services/TranslatedVariant.h"

#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/ResourceSet.h"
#include "framework/Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace {

using services::BuildVariant;

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type;  // "unfinished" while not translated
};

std::vector<Message> messagesOf(const QString& tsFile)
{
    QFile file(tsFile);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << tsFile.toStdString();
    std::vector<Message> messages;
    QString context;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        else if (xml.name() == QLatin1String("message")) messages.push_back({context, {}, {}, {}});
        else if (xml.name() == QLatin1String("source")) messages.back().source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            messages.back().type = xml.attributes().value(QLatin1String("type")).toString();
            messages.back().translation = xml.readElementText();
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

// printf forms must keep their order; numbered ones may move, but not vanish.
QStringList placeholders(const QString& text)
{
    QStringList found;
    static const QRegularExpression printfForm(QStringLiteral("%[sd]"));
    for (const auto& match : printfForm.globalMatch(text)) found << match.captured();
    QStringList numbered;
    static const QRegularExpression numberedForm(QStringLiteral("%[1-9]"));
    for (const auto& match : numberedForm.globalMatch(text)) numbered << match.captured();
    numbered.sort();
    return found + numbered;
}

qsizetype accessKeys(const QString& text) { return text.count('&') - 2 * text.count(QLatin1String("&&")); }

QString germanTranslations() { return QString::fromStdString(translationsFolder(TARVEX_TEST_BIN_FOLDER)); }

}  // namespace

TEST(GermanTranslation, EveryTextHasAFinishedGermanFormThatKeepsItsPlaceholders)
{
    const std::vector<Message> messages = messagesOf(QStringLiteral(TARVEX_GERMAN_TS));
    ASSERT_GT(messages.size(), 100u);
    QTranslator compiled;
    ASSERT_TRUE(compiled.load(QStringLiteral("tarvex_de"), germanTranslations()));
    for (const Message& message : messages) {
        SCOPED_TRACE(message.context.toStdString() + ": " + message.source.toStdString());
        EXPECT_TRUE(message.type.isEmpty()) << message.type.toStdString();
        ASSERT_FALSE(message.translation.isEmpty());
        EXPECT_EQ(placeholders(message.translation), placeholders(message.source));
        // A placeholder's text is cut into lines by the code only through
        // those placeholders: keep the lines as they are.
        if (!placeholders(message.source).isEmpty()) {
            EXPECT_EQ(message.translation.count('\n'), message.source.count('\n'));
        }
        EXPECT_EQ(accessKeys(message.translation), accessKeys(message.source));
        // The file the programs load is built from this one.
        EXPECT_EQ(compiled.translate(message.context.toUtf8().constData(), message.source.toUtf8().constData()),
                  message.translation);
    }
}

TEST(GermanTranslation, TakesTheFirstLanguageTheUserWantsThatIsTranslatedUnlessEnglishComesFirst)
{
    const QString folder = germanTranslations();
    EXPECT_EQ(framework::Translations(folder, "tarvex", {"fr-FR", "de-AT", "en-GB"}).language(), "de");
    EXPECT_EQ(framework::Translations(folder, "tarvex", {"en-GB", "de-DE"}).language(), "");
    EXPECT_EQ(framework::Translations(folder, "tarvex", {"C"}).language(), "");
    EXPECT_EQ(framework::Translations(folder, "tarvex", {"fr"}).language(), "");
    EXPECT_EQ(QCoreApplication::translate("DialogTemplate", "&Help"), "&Help") << "a translator outlived its owner";
}

TEST(GermanTranslation, TranslatesEveryTextOfTheVariantTableAUserReadsAndNothingElse)
{
    for (const BuildVariant variant : {BuildVariant::Encrypt, BuildVariant::Decrypt}) {
        const services::VariantTexts& english = services::variantTexts(variant);
        const services::TranslatedVariantTexts asShipped(english);
        const services::VariantTexts& untranslated = asShipped.texts();
        const framework::Translations german(germanTranslations(), "tarvex", {"de"});
        const services::TranslatedVariantTexts translated(english);
        const services::VariantTexts& texts = translated.texts();
        for (const auto field : {&services::VariantTexts::programTitle, &services::VariantTexts::processingCaption,
                                 &services::VariantTexts::filesSelected, &services::VariantTexts::runFailures,
                                 &services::VariantTexts::interruptedRunOffer, &services::VariantTexts::repairFinished,
                                 &services::VariantTexts::defaultButtonCaption, &services::VariantTexts::logViewerTitle,
                                 &services::VariantTexts::fileDescription}) {
            EXPECT_EQ(untranslated.*field, english.*field);
            EXPECT_NE(texts.*field, english.*field) << english.*field;
        }
        // Only Sealwin can turn a file back; Unsealwin's empty texts stay empty.
        EXPECT_EQ(texts.repairWentBack.empty(), english.repairWentBack.empty());
        for (const auto field : {&services::VariantTexts::programName, &services::VariantTexts::settingsKeyPath,
                                 &services::VariantTexts::helpFileName, &services::VariantTexts::resourceRoot,
                                 &services::VariantTexts::desktopEntry, &services::VariantTexts::internalName})
            EXPECT_EQ(texts.*field, english.*field);
        EXPECT_EQ(texts.logListBox, english.logListBox);
    }
    const services::VariantTexts& sealwin = services::variantTexts(BuildVariant::Encrypt);
    const framework::Translations german(germanTranslations(), "tarvex", {"de"});
    const services::TranslatedVariantTexts translated(sealwin);
    EXPECT_EQ(services::filesSelectedText(translated.texts(), 3), " 3 Dateien zum Verschlüsseln ausgewählt");
}

TEST(GermanTranslation, GivesEveryControlOfADialogAnAccessKeyOfItsOwn)
{
    const framework::Translations german(germanTranslations(), "tarvex", {"de"});
    for (const QString root : {":/sealwin", ":/unsealwin"}) {
        const framework::ResourceSet resources(root);
        const QStringList templates = QDir(root + "/dialogs").entryList({"*.dlg"});
        ASSERT_FALSE(templates.isEmpty());
        for (const QString& file : templates) {
            framework::Dialog dialog(nullptr, resources, QFileInfo(file).completeBaseName());
            ASSERT_TRUE(dialog.create()) << file.toStdString();
            std::set<QChar> keys;
            for (const auto& control : dialog.controls()) {
                static const QRegularExpression accessKey(QStringLiteral("&([^&])"));
                const auto match = accessKey.match(control.text);
                if (!match.hasMatch() || control.kind == framework::ControlKind::Edit) continue;
                EXPECT_TRUE(keys.insert(match.captured(1).at(0).toLower()).second)
                    << root.toStdString() << ' ' << file.toStdString() << ": " << control.text.toStdString();
            }
        }
    }
}

using GermanMainWindow = MainWindow;

TEST_F(GermanMainWindow, ShowsGermanCaptionsAndHelpAndQtsOwnButtons)
{
    TEncryptDialog* dialog = start(BuildVariant::Decrypt);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(app->mainWindow()->windowTitle(), "Tarvex - Entschlüsseln");
    EXPECT_EQ(dialog->text(TEncryptDialog::RunButton), "&Entschlüsseln");
    EXPECT_EQ(dialog->text(TEncryptDialog::CloseButton), "&Schließen");
    EXPECT_EQ(dialog->text(TEncryptDialog::BlowFishOnlyBox), "&Nur BlowFish");
    EXPECT_EQ(dialog->text(TEncryptDialog::KeyLabel), "Schlüssel:");
    EXPECT_EQ(dialog->control(TEncryptDialog::ProgressBar)->accessibleName(), "Fortschritt der aktuellen Datei");
    EXPECT_EQ(state.helpFilePath, state.programFolder + "/unsealwin.de.html");
    // Message boxes and file dialogs bring Qt's own buttons.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Ja");
    // So does the run logic, which has no Qt of its own.
    EXPECT_EQ(keyLengthRefusal(), "Der Schlüssel muss mindestens 8 und höchstens 88 Zeichen lang sein");
    app.reset();
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), "&Yes");
    EXPECT_EQ(keyLengthRefusal(),
              "You must enter a key that is at least 8 characters in length but no more than 88 characters");
}
