#include "report/ui/rep_resources.h"

#include "rep_resources_table_p.h"

#include <gtest/gtest.h>

namespace {

using report::RepResources;

TEST(RepResources, BuiltInTableAnswersByNumberAndMnemonic) {
  struct Case {
    const char* key;
    const char* text;
  };
  const Case cases[] = {
      {"100", "Preview"},
      {"101", "Print"},
      {"106", "Send by E-mail"},
      {"121", "Close"},
      {"122", "Cancel"},
      {"137", "Whole page"},
      {"145", "Invalid file format"},
      {"150", "Find Text"},
      {"210", "Enter page numbers and/or page ranges, separated by commas. For example, 1,3,5-12"},
      {"236", "Printer files (*.prn)|*.prn"},
      {"314", "Apply to all pages"},
      {"clPageOf", "Page %d of %d"},
      {"clFirstPass", "First pass: page"},
      {"clErrors", "The following error(s) have occured:"},
      {"clSeparator", "-"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RepResources::Instance().Get(QString::fromLatin1(c.key)), QString::fromUtf8(c.text))
        << c.key;
  }
  EXPECT_EQ(RepResources::Text(100), QStringLiteral("Preview"));
  EXPECT_EQ(RepResources::Text("clPrinting"), QStringLiteral("Printing page %d"));
}

TEST(RepResources, UnknownKeyYieldsTheKey) {
  EXPECT_EQ(RepResources::Text(99999), QStringLiteral("99999"));
  EXPECT_EQ(RepResources::Text("clNoSuchText"), QStringLiteral("clNoSuchText"));
  EXPECT_EQ(RepResources::Instance().Get(QString()), QString());
}

TEST(RepResources, LinesAndTheBangRule) {
  const RepResources table(
      u"1=plain\n"
      u"2=!shown without the bang\n"
      u"3=!!one bang stays\n"
      u"4=!\n"
      u"5=a=b\r\n"
      u"\n"
      u"no equals sign here\n"
      u"=no key\n"
      u" 6 =trimmed key, value kept as written \n"
      u"1=last one wins\n"
      u"7=");
  EXPECT_EQ(table.Get(1), QStringLiteral("last one wins"));
  EXPECT_EQ(table.Get(2), QStringLiteral("shown without the bang"));
  EXPECT_EQ(table.Get(3), QStringLiteral("!one bang stays"));
  EXPECT_EQ(table.Get(4), QString());
  EXPECT_EQ(table.Get(5), QStringLiteral("a=b"));
  EXPECT_EQ(table.Get(6), QStringLiteral("trimmed key, value kept as written "));
  EXPECT_EQ(table.Get(7), QString());
  EXPECT_EQ(table.Get(QStringLiteral("no equals sign here")), QStringLiteral("no equals sign here"));
  EXPECT_EQ(table.Count(), 7);
}

TEST(RepResources, NoBuiltInKeyIsWrittenTwice) {
  // A duplicated key would silently replace another window's text.
  const QString table = QString::fromUtf8(report::kRepResourcesTable);
  EXPECT_EQ(RepResources::Instance().Count(), table.count(u'\n'));
}

}  // namespace
