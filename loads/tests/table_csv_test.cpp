#include "loads/table_csv.h"

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include "loads/csv.h"
#include "loads/data_folder.h"
#include "safety_fixtures.h"
#include "testing/test_support.h"

namespace loads {
namespace {

using fixtures::Italian;
using fixtures::PathIn;
using fixtures::Rows;
using fixtures::ValuesOf;
using testing_support::FreshDir;
using testing_support::ReadFileBytes;
using testing_support::TestDataDir;

class TableCsvTest : public ::testing::Test {
 protected:
  void SetUp() override { dir = FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name()); }

  std::unique_ptr<LoadTable> Opened(const char* name, SampleSet seed) {
    auto table = std::make_unique<LoadTable>(PathIn(dir, name), seed);
    const Status opened = table->Open();
    EXPECT_TRUE(opened.ok()) << opened.Message().toStdString();
    return table;
  }

  std::filesystem::path dir;
};

// Values a spreadsheet trips over: separators, quotes and line ends in a
// name, blanks at its ends, letters outside ASCII, empty text against no
// value, numbers that need many digits or an exponent.
Rows AwkwardRecords() {
  const QVariant none;
  auto load = [](QVariant name, QVariant copalle, QVariant palle, double polvere) {
    return std::vector<QVariant>{name, copalle, palle, 8.9, qint64{100}, 48.0, polvere, 0.25,
                                 qint64{10}, 3.9, 4.5};
  };
  return {
      load(QStringLiteral("9x21; \"FMJ\", 124 grs"), 16.5, qint64{100}, 4.2),
      load(QStringLiteral("riga uno\nriga due\r\nriga tre"), 0.1 + 0.2, qint64{-5}, 1.0 / 3.0),
      load(QStringLiteral("  spazi ai lati  "), 1e-7, qint64{0}, 1e20),
      load(QStringLiteral("Calibro àèìòù € 🎯"), -2.5, none, 123456.789),
      load(QString(""), none, qint64{2147483647}, 5e-324),
      load(none, 1e15, qint64{-2147483647}, 0.0),
  };
}

TEST_F(TableCsvTest, ExportThenImportGivesBackTheTable) {
  const struct {
    const char* name;
    NumberForm form;
    regional::Regional user;
    char separator;
    NumberForm guessed;  // what the import takes the file for
    const char* firstRecord;
  } cases[] = {
      {"Italian user, local form", NumberForm::Local, Italian(), ';', NumberForm::Local,
       "\"9x21 IMI FMJ 124 grs\";16,5;100;9;100;88;4,3;0,25;10;4;4,6"},
      {"Italian user, plain form", NumberForm::Plain, Italian(), ',', NumberForm::Plain,
       "\"9x21 IMI FMJ 124 grs\",16.5,100,9,100,88,4.3,0.25,10,4,4.6"},
      {"C user, local form", NumberForm::Local, regional::Neutral(), ',', NumberForm::Local,
       "\"9x21 IMI FMJ 124 grs\",16.5,100,9,100,88,4.3,0.25,10,4,4.6"},
  };
  auto source = Opened(kPistolFileName, SampleSet::Pistol);
  const auto samples = static_cast<std::size_t>(source->RecordCount());
  ASSERT_TRUE(source->AppendRecords(AwkwardRecords()).ok());
  const Rows expected = ValuesOf(*source);

  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CsvLayout layout = LayoutFor(c.form, c.user);
    EXPECT_EQ(layout.separator, QLatin1Char(c.separator));
    const QByteArray file = ExportCsv(*source, layout);
    ASSERT_TRUE(file.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = file.mid(3).split('\n');
    QByteArray header = "tipologia,copalle,Palle,coinn,Inneschi,CoPol,Polvere,CoBoss,Bossoli,Minima,Massima\r";
    header.replace(',', c.separator);
    EXPECT_EQ(lines.value(0).toStdString(), header.toStdString());
    EXPECT_EQ(lines.value(1).toStdString(), std::string(c.firstRecord) + '\r');
    EXPECT_EQ(GuessNumberForm(file, c.user), c.guessed);

    const ImportPlan plan = PlanImport(file, source->Fields(), layout.numbers);
    ASSERT_FALSE(plan.refused) << plan.refused->Text().toStdString();
    EXPECT_TRUE(plan.problems.empty()) << plan.problems.front().Text().toStdString();
    ASSERT_EQ(plan.rows.size(), expected.size());
    EXPECT_EQ(plan.rows[samples + 1].line, static_cast<int>(samples) + 3);
    EXPECT_EQ(plan.rows[samples + 2].line, static_cast<int>(samples) + 6) << "after a record of three lines";

    // Through a second file, as a user moving loads from one table to another.
    const std::string target = std::string("target-") + std::to_string(c.form == NumberForm::Local) + c.separator;
    auto into = Opened(target.c_str(), SampleSet::None);
    Rows records;
    for (const ImportRow& row : plan.rows) records.push_back(row.values);
    ASSERT_TRUE(into->AppendRecords(records).ok());
    EXPECT_EQ(fixtures::StoredRows(into->FilePath()), expected);
  }
}

struct Expected {
  int line;
  const char* says;
};

TEST_F(TableCsvTest, BadFilesAreReportedLineByLine) {
  const struct {
    const char* file;
    regional::Regional numbers;
    std::optional<Expected> refused;
    std::size_t rows;
    std::vector<Expected> problems;
    int emptyLines = 0;
  } cases[] = {
      {"good_plain.csv", regional::Neutral(), {}, 3, {}},
      {"good_locale_it.csv", Italian(), {}, 2, {}},
      {"only_header.csv", regional::Neutral(), {}, 0, {}},
      {"wrong_columns.csv", regional::Neutral(),
       Expected{1, "l'intestazione non corrisponde ai campi della tabella: mancano i campi \"CoPol\", "
                   "\"Massima\"; campo sconosciuto \"Prezzo\". La prima riga deve contenere i nomi dei "
                   "campi: tipologia, copalle, Palle, coinn, Inneschi, CoPol, Polvere, CoBoss, Bossoli, "
                   "Minima, Massima."},
       0, {}},
      {"latin1.csv", regional::Neutral(),
       Expected{3, "il file non è in codifica UTF-8. Salvarlo con la codifica UTF-8 e riprovare."}, 0, {}},
      {"utf16.csv", regional::Neutral(),
       Expected{0, "Il file è in codifica UTF-16: salvarlo con la codifica UTF-8 e riprovare."}, 0, {}},
      {"picture.png", regional::Neutral(),
       Expected{2, "il file non è un file di testo (contiene dati binari)."}, 0, {}},
      {"empty.csv", regional::Neutral(), Expected{0, "Il file è vuoto."}, 0, {}},
      {"open_quote_header.csv", regional::Neutral(),
       Expected{1, "virgolette aperte e mai chiuse nell'intestazione."}, 0, {}},
      {"open_quote.csv", regional::Neutral(), {}, 1,
       {{3, "virgolette aperte e mai chiuse: da questa riga in poi il file non è stato letto"}}},
      {"bad_numbers.csv", regional::Neutral(), {}, 2,
       {{3, "Palle: \"12.5\" non è un numero intero"},
        {4, "CoPol: \"abc\" non è un numero (separatore decimale \".\"); Polvere: \"4,5\" non è un "
            "numero (separatore decimale \".\")"},
        {5, "9 valori invece di 11"},
        {6, "testo dopo le virgolette di chiusura del valore 1"},
        {7, "Polvere: \"1e400\" non è un numero (separatore decimale \".\")"},
        {8, "Bossoli: \"99999999999\" non è un numero intero"}}},
      {"empty_lines.csv", regional::Neutral(), {}, 2, {{6, "Bossoli: \"dieci\" non è un numero intero"}}, 4},
      {"multiline.csv", regional::Neutral(), {}, 2, {{4, "10 valori invece di 11"}}},
  };
  auto table = Opened(kPistolFileName, SampleSet::None);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const QByteArray bytes = QByteArray::fromStdString(ReadFileBytes(TestDataDir() / "import" / c.file));
    ASSERT_TRUE(!bytes.isEmpty() || std::string(c.file) == "empty.csv");
    const ImportPlan plan = PlanImport(bytes, table->Fields(), c.numbers);
    if (c.refused) {
      ASSERT_TRUE(plan.refused);
      EXPECT_EQ(plan.refused->line, c.refused->line);
      EXPECT_EQ(plan.refused->message.toStdString(), c.refused->says);
      EXPECT_TRUE(plan.rows.empty());
      continue;
    }
    ASSERT_FALSE(plan.refused) << plan.refused->Text().toStdString();
    EXPECT_EQ(plan.rows.size(), c.rows);
    EXPECT_EQ(plan.emptyLines, c.emptyLines);
    ASSERT_EQ(plan.problems.size(), c.problems.size());
    for (std::size_t i = 0; i < c.problems.size(); ++i) {
      EXPECT_EQ(plan.problems[i].line, c.problems[i].line);
      EXPECT_EQ(plan.problems[i].message.toStdString(), c.problems[i].says);
    }
  }
}

TEST_F(TableCsvTest, FixturesReadAsTheirAuthorMeant) {
  auto table = Opened(kPistolFileName, SampleSet::None);
  const auto read = [&](const char* file, const regional::Regional& numbers) {
    return PlanImport(QByteArray::fromStdString(ReadFileBytes(TestDataDir() / "import" / file)),
                      table->Fields(), numbers);
  };
  const ImportPlan plain = read("good_plain.csv", regional::Neutral());
  ASSERT_EQ(plain.rows.size(), 3U);
  EXPECT_EQ(plain.rows[1].values[0].toString(), QStringLiteral(".38 Special, \"wadcutter\" 148"));
  EXPECT_EQ(plain.rows[1].values[5].toDouble(), 52.5);
  EXPECT_EQ(plain.rows[2].values[0].toString(), QStringLiteral("Calibro àèìòù €"));
  EXPECT_TRUE(plain.rows[2].values[1].isNull());

  // Columns in another order and case go to their own fields.
  const ImportPlan local = read("good_locale_it.csv", Italian());
  ASSERT_EQ(local.rows.size(), 2U);
  EXPECT_EQ(local.separator, QLatin1Char(';'));
  EXPECT_EQ(local.rows[0].values[0].toString(), QStringLiteral("9x21; palla tonda"));
  EXPECT_EQ(local.rows[0].values[1].toDouble(), 16.5);   // copalle, the last column
  EXPECT_EQ(local.rows[0].values[10].toDouble(), 4.5);   // Massima, the second
  EXPECT_EQ(local.rows[0].values[2].toLongLong(), 100);  // Palle
  // The same file read as plain numbers tells the user why.
  const ImportPlan wrongForm = read("good_locale_it.csv", regional::Neutral());
  EXPECT_TRUE(wrongForm.rows.empty());
  ASSERT_EQ(wrongForm.problems.size(), 2U);
  EXPECT_TRUE(wrongForm.problems[0].Text().startsWith(QStringLiteral("Riga 2: Massima: \"4,5\" non è un numero")));
  EXPECT_EQ(GuessNumberForm(QByteArray::fromStdString(ReadFileBytes(TestDataDir() / "import" / "good_locale_it.csv")),
                            Italian()),
            NumberForm::Local);
  EXPECT_EQ(GuessNumberForm(QByteArray::fromStdString(ReadFileBytes(TestDataDir() / "import" / "good_plain.csv")),
                            Italian()),
            NumberForm::Plain);
}

QByteArray ManyRecords(int count, const char* last) {
  QByteArray file = "tipologia,copalle,Palle,coinn,Inneschi,CoPol,Polvere,CoBoss,Bossoli,Minima,Massima\n";
  for (int i = 1; i < count; ++i) file += "\"Carica " + QByteArray::number(i) + "\",16.5,100,8.9,100,48,4.2,0.25,10,3.9,4.5\n";
  file += QByteArray("\"") + last + "\",16.5,100,8.9,100,48,4.2,0.25,10,3.9,4.5\n";
  return file;
}

TEST_F(TableCsvTest, TenThousandRecordsGoInAsOneTransaction) {
  auto table = Opened(kPistolFileName, SampleSet::Pistol);
  const int before = table->RecordCount();
  // The file refuses one name, as a damaged or foreign file might.
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("trigger"));
    db.setDatabaseName(table->FilePath());
    ASSERT_TRUE(db.open());
    QSqlQuery query(db);
    ASSERT_TRUE(query.exec(QStringLiteral(
        "CREATE TRIGGER refuse BEFORE INSERT ON DatiSpese WHEN NEW.tipologia = 'rifiutato' "
        "BEGIN SELECT RAISE(ABORT, 'nome rifiutato'); END")));
  }
  QSqlDatabase::removeDatabase(QStringLiteral("trigger"));

  Rows records;
  const ImportPlan refused = PlanImport(ManyRecords(10000, "rifiutato"), table->Fields(), regional::Neutral());
  ASSERT_EQ(refused.rows.size(), 10000U);
  for (const ImportRow& row : refused.rows) records.push_back(row.values);
  const Status failed = table->AppendRecords(records);
  ASSERT_FALSE(failed.ok());
  EXPECT_TRUE(failed.Message().contains(QStringLiteral("nome rifiutato"))) << failed.Message().toStdString();
  EXPECT_EQ(table->RecordCount(), before);
  EXPECT_EQ(fixtures::StoredRows(table->FilePath()).size(), static_cast<std::size_t>(before));

  const ImportPlan plan = PlanImport(ManyRecords(10000, "ultimo"), table->Fields(), regional::Neutral());
  records.clear();
  for (const ImportRow& row : plan.rows) records.push_back(row.values);
  ASSERT_TRUE(table->AppendRecords(records).ok());
  EXPECT_EQ(table->RecordCount(), before + 10000);
  EXPECT_EQ(table->RecNo(), before) << "the first record added is current";
  EXPECT_EQ(table->FieldText(before + 9999, 0), QStringLiteral("ultimo"));
  EXPECT_EQ(fixtures::StoredRows(table->FilePath()).size(), static_cast<std::size_t>(before + 10000));
}

TEST(CsvParse, QuotedFieldsSeparatorsAndLineEnds) {
  const csv::Document doc = csv::Parse(u"a;\"b;\"\"c\"\"\"\r\n\"x\ny\";\r;z\n1;2;", u';');
  ASSERT_EQ(doc.records.size(), 4U);
  EXPECT_EQ(doc.records[0].fields[1].text, QStringLiteral("b;\"c\""));
  EXPECT_EQ(doc.records[1].line, 2);
  EXPECT_EQ(doc.records[1].fields[0].text, QStringLiteral("x\ny"));
  EXPECT_EQ(doc.records[1].fields.size(), 2U);
  EXPECT_EQ(doc.records[2].line, 4);
  EXPECT_EQ(doc.records[2].fields.size(), 2U);
  EXPECT_EQ(doc.records[3].fields.size(), 3U) << "a separator at the very end is one more empty field";
  EXPECT_FALSE(doc.openQuoteLine);
  EXPECT_EQ(csv::DetectSeparator(u"\"a,b\";c;d"), QLatin1Char(';'));
  EXPECT_EQ(csv::DetectSeparator(u"a\tb\tc"), QLatin1Char('\t'));
  EXPECT_EQ(csv::DetectSeparator(u"tipologia"), QLatin1Char(','));
}

}  // namespace
}  // namespace loads
