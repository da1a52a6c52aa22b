// The main window's auxiliary services: about box, example prices, help,
// donation page, the print of the window and the music player.
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

#include "formabout.h"
#include "help_context.h"
#include "help_key.h"
#include "help_window.h"
#include "main_form.h"
#include "media_player.h"
#include "program_folder.h"
#include "prompter.h"
#include "tprezzi.h"
#include "ui_main_form.h"
#include "window_image.h"
#include "window_print.h"

namespace app {

namespace {
// Relative: the player looks for it in the working directory.
const QString kDefaultMusicFile = QStringLiteral("prova.mp3");
}  // namespace

void MainForm::WireServices() {
  InstallHelpKey(this);
  m_player = new MediaPlayer(m_ui->MediaPlayer1);

  const auto both = [this](QPushButton* button, QAction* action, void (MainForm::*handler)()) {
    if (button != nullptr) connect(button, &QPushButton::clicked, this, handler);
    if (action != nullptr) connect(action, &QAction::triggered, this, handler);
  };
  both(m_ui->BitBtn5, m_ui->CaricaFileMusicale1, &MainForm::BitBtn5Click);
  both(m_ui->BitBtn4, m_ui->Schermata1, &MainForm::BitBtn4Click);
  both(m_ui->BitH, m_ui->Sommario1, &MainForm::BitHClick);
  both(nullptr, m_ui->HelpTool, &MainForm::BitHClick);
  both(nullptr, m_ui->SearchforHelpOn1, &MainForm::SearchforHelpOn1Click);
  both(nullptr, m_ui->PrezziTool, &MainForm::SearchforHelpOn1Click);
  both(nullptr, m_ui->About1, &MainForm::About1Click);
  both(nullptr, m_ui->AboutTool, &MainForm::About1Click);
  both(m_ui->BitDonate, nullptr, &MainForm::BitDonateClick);
}

void MainForm::About1Click() {
  if (Formabout* about = FormaboutWindow()) about->exec();
}

void MainForm::SearchforHelpOn1Click() {
  if (Tprezzi* prices = PrezziWindow()) prices->exec();
}

void MainForm::BitHClick() {
  Help().ShowContext(HelpContextOf(this));
  Prompts().Message(QStringLiteral("Accedi alla GUIDA dal Menu Programmi"));
}

void MainForm::BitDonateClick() {
  QDesktopServices::openUrl(QUrl::fromLocalFile(BesideProgram(QStringLiteral("donate.htm"))));
}

void MainForm::BitBtn4Click() {
  const QImage picture = ClientAreaImage(*this);
  if (!PrintWindowImage(picture, QSizeF(logicalDpiX(), logicalDpiY()),
                        QStringLiteral("Versanto Schermata"))) {
    Prompts().Message(QStringLiteral("Errore Stampante"));
  }
}

QFileDialog& MainForm::MusicDialog() {
  if (m_musicDialog != nullptr) return *m_musicDialog;
  m_musicDialog = new QFileDialog(this, QStringLiteral("Carica FileMusicale"));
  m_musicDialog->setObjectName(QStringLiteral("MusicDialog"));
  m_musicDialog->setAcceptMode(QFileDialog::AcceptOpen);
  m_musicDialog->setFileMode(QFileDialog::ExistingFile);
  m_musicDialog->setNameFilters({QStringLiteral("files Musicali (*.mid *.mp3)"),
                                 QStringLiteral("files MP3 (*.mp3)"),
                                 QStringLiteral("files MIDI (*.mid)"),
                                 QStringLiteral("Tutti i files (*)")});
  m_musicDialog->selectFile(QStringLiteral("prova.MID"));
  return *m_musicDialog;
}

void MainForm::BitBtn5Click() {
  QFileDialog& dialog = MusicDialog();
  if (dialog.exec() != QDialog::Accepted) return;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return;
  m_player->Close();
  OpenMusic(chosen.first());
}

void MainForm::OpenMusic(const QString& file) {
  m_player->SetFileName(file);
  if (const OpenResult opened = m_player->Open(); opened != OpenResult::Opened) {
    Prompts().Message(m_player->FailureMessage(opened));
  }
}

// The player opens its default file by itself. Without one it stays closed
// and says nothing, so that start-up goes on.
void MainForm::OpenDefaultMusic() {
  m_player->SetFileName(kDefaultMusicFile);
  if (!QFileInfo::exists(kDefaultMusicFile)) return;
  OpenMusic(kDefaultMusicFile);
}

}  // namespace app
