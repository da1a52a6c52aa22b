#pragma once

#include <QMainWindow>
#include <QStringList>

#include <array>
#include <memory>

#include "loads/data_folder.h"
#include "loads/data_source.h"
#include "loads/load_table.h"
#include "regional/regional.h"

class QFileDialog;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace slideshow {
class SlideshowController;
class SlideshowDialogs;
}  // namespace slideshow

namespace Ui {
class MainForm;
}

namespace app {

class MediaPlayer;
class DataSafety;
class CostLists;

// The program's one main window, laid out in main_form.ui: the load-data
// fields and the cost calculator, the grid and the navigator of the table
// shown, the table chooser and the converter on the left and in the middle;
// the picture area, the music player row and the command buttons on the
// right; the slideshow settings beyond the client width.
//
// It owns both load tables with their data sources. The report adapters
// read them through PistolDataSource() and RifleDataSource(); whatever moves
// a table's current record is followed by the controls bound to it.
class MainForm : public QMainWindow {
  Q_OBJECT

 public:
  // The window's client area (below the menu bar, tool bar and status bar included).
  static constexpr int kClientWidth = 968;   // pixels
  static constexpr int kClientHeight = 655;  // pixels

  // `dataFolder` holds the two load files.
  explicit MainForm(const QString& dataFolder = loads::DefaultDataFolder(),
                    QWidget* parent = nullptr);
  ~MainForm() override;

  loads::LoadTable& PistolTable() { return *m_pistolTable; }
  loads::LoadTable& RifleTable() { return *m_rifleTable; }
  loads::DataSource& PistolDataSource() { return *m_pistolSource; }
  loads::DataSource& RifleDataSource() { return *m_rifleSource; }
  // The data source the bound controls show now.
  loads::DataSource& ActiveDataSource() { return *m_activeSource; }

  // The picture show ("Diorama"), a slideshow::Diorama.
  QWidget* PictureArea() const;
  // The slideshow of the picture area, made by FormCreate.
  slideshow::SlideshowController& Slideshow() const { return *m_slideshow; }
  // Status bar panels 0 to 3 (showing, next, count, folder).
  QLabel* StatusPanel(int index) const;
  // The slideshow's picture names; created by FormCreate, freed by FormDestroy.
  QStringList& ImageFiles() { return m_imageFiles; }
  // The music player row ("MediaPlayer1").
  MediaPlayer& Player() const { return *m_player; }
  // The two cost-list reports with their datasets (repReport1, repReport2).
  CostLists& Lists() const { return *m_costLists; }

 public slots:
  void FormCreate();
  void FormDestroy();
  void BitesciClick();
  void BitCalcolaClick();
  void BitconvertiClick();
  void RBtabella1Click();
  void RBtabella2Click();
  void BitModificaClick();
  void BitSalvaClick();
  // The auxiliary services (main_form_services.cpp).
  void About1Click();
  void SearchforHelpOn1Click();
  void BitHClick();
  void BitDonateClick();
  void BitBtn4Click();
  void BitBtn5Click();
  // The table shown, to and from CSV; a backup back into its file.
  void EsportaCSV1Click();
  void ImportaCSV1Click();
  void RipristinaCopia1Click();
  // The cost lists (cost_lists.cpp).
  void BitstpDatiClick();
  void BitStpFucileClick();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void SetUpLook();
  void SetUpStatusBar();
  void SetUpBinding();
  void SetUpSlideshow();
  void WireCommands();
  void WireServices();
  void OpenDefaultMusic();
  void OpenMusic(const QString& file);
  QFileDialog& MusicDialog();
  void ChooseTable(loads::DataSource* source, QRadioButton* chosen, QRadioButton* other);
  bool PostPendingEdits();
  std::array<QLineEdit*, 10> BoundEdits() const;
  regional::Regional UserRegional() const;

  std::unique_ptr<Ui::MainForm> m_ui;
  loads::LoadTable* m_pistolTable;
  loads::LoadTable* m_rifleTable;
  loads::DataSource* m_pistolSource;
  loads::DataSource* m_rifleSource;
  loads::DataSource* m_activeSource;
  DataSafety* m_dataSafety;
  CostLists* m_costLists;
  QStringList m_imageFiles;
  std::unique_ptr<slideshow::SlideshowDialogs> m_slideshowDialogs;
  std::unique_ptr<slideshow::SlideshowController> m_slideshow;
  MediaPlayer* m_player = nullptr;
  QFileDialog* m_musicDialog = nullptr;  // made on first use
  bool m_centred = false;
};

// The main window, from its creation to its destruction; nullptr otherwise.
MainForm* MainFormWindow();

// The picture folder named on the command line (its first argument), or
// empty for the folder "Photos" beside the program. Programs whose command
// line means something else (the screenshot tool) set it themselves.
QString PictureFolderArgument();
void SetPictureFolderArgument(const QString& folder);

}  // namespace app
