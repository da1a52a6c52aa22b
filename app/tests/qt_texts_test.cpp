#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

#include "qt_texts.h"
#include "window_fixture.h"

namespace app {
namespace {

using testing::Kind;
using testing::WhenModal;
using testing::WindowTest;

// The program installs Qt's Italian texts once, before its first window.
class QtTextsTest : public WindowTest {
 protected:
  static void SetUpTestSuite() {
    const QStringList installed = InstallItalianQtTexts();
    ASSERT_FALSE(installed.isEmpty()) << "no Italian Qt catalogue in " << QtTranslationsFolder().toStdString();
  }
};

TEST_F(QtTextsTest, TheExitQuestionHasItalianButtons) {
  QString ok;
  QString cancel;
  const WhenModal answer([&](QWidget* window) {
    auto* box = qobject_cast<QMessageBox*>(window);
    ASSERT_NE(box, nullptr);
    ok = box->button(QMessageBox::Ok)->text();
    cancel = box->button(QMessageBox::Cancel)->text();
    box->button(QMessageBox::Cancel)->click();
  });
  // The standard prompter, as the exit command asks it.
  Prompter standard;
  EXPECT_FALSE(standard.Question(QStringLiteral("Sicuro di voler uscire ? !"),
                                 QStringLiteral("Termina il Programma")));
  EXPECT_EQ(cancel, QStringLiteral("Annulla"));
  EXPECT_EQ(ok, QStringLiteral("OK"));
}

TEST_F(QtTextsTest, StandardButtonsAreItalian) {
  const std::vector<std::pair<QDialogButtonBox::StandardButton, QString>> cases{
      {QDialogButtonBox::Cancel, QStringLiteral("Annulla")},
      {QDialogButtonBox::Close, QStringLiteral("Chiudi")},
      {QDialogButtonBox::Yes, QStringLiteral("&Sì")},
      {QDialogButtonBox::Save, QStringLiteral("Salva")},
      {QDialogButtonBox::Open, QStringLiteral("Apri")},
  };
  for (const auto& [button, italian] : cases) {
    const QDialogButtonBox box(button);
    EXPECT_EQ(box.button(button)->text(), italian);
  }
}

// The music dialog is the program's own file dialog: Qt's dialog, with
// Qt's texts around the program's title and filters.
TEST_F(QtTextsTest, TheMusicFileDialogIsItalian) {
  Make();
  QStringList labels;
  QString cancel;
  const WhenModal answer([&](QWidget* window) {
    auto* dialog = qobject_cast<QFileDialog*>(window);
    ASSERT_NE(dialog, nullptr);
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
      const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
      labels << (label != nullptr ? label->text() : QString());
    }
    const auto* buttons = dialog->findChild<QDialogButtonBox*>();
    if (buttons != nullptr) cancel = buttons->button(QDialogButtonBox::Cancel)->text();
    dialog->reject();
  });
  Activate("BitBtn5", Kind::Button);
  EXPECT_EQ(labels, QStringList({QStringLiteral("Cerca in:"), QStringLiteral("&Nome del file:"),
                                 QStringLiteral("File di tipo:")}));
  EXPECT_EQ(cancel, QStringLiteral("Annulla"));
}

TEST(QtTextsWithoutTranslations, NothingIsInstalledAndNothingFails) {
  const auto empty = testing_support::FreshDir("no-translations");
  EXPECT_TRUE(InstallItalianQtTexts(QString::fromStdString(empty.string())).isEmpty());
}

}  // namespace
}  // namespace app
