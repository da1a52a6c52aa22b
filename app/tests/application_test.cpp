#include "application.h"

#include <QEvent>

#include <stdexcept>

#include <gtest/gtest.h>

#include "recording_prompter.h"

namespace app {
namespace {

class Throwing : public QObject {
 public:
  int handled = 0;
  bool event(QEvent* e) override {
    if (e->type() != QEvent::User) return QObject::event(e);
    ++handled;
    if (handled == 1) throw std::runtime_error("Operazione non riuscita");
    return true;
  }
};

TEST(Application, EscapedErrorReachesTheStandardBoxAndTheProgramGoesOn) {
  int argc = 1;
  char name[] = "versanto";
  char* argv[] = {name, nullptr};
  Application application(argc, argv);
  application.SetTitle(QString::fromLatin1(kApplicationTitle));
  EXPECT_EQ(application.Title(), QStringLiteral("Versanto8.0"));
  EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Calvenor"));
  EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Versanto"));

  testing::RecordingPrompter prompter;
  ScopedPrompter scoped(prompter);
  Throwing target;
  QEvent first(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&target, &first));
  EXPECT_EQ(prompter.log, QStringList{QStringLiteral("error: Operazione non riuscita")});
  QEvent second(QEvent::User);
  EXPECT_TRUE(QCoreApplication::sendEvent(&target, &second));
  EXPECT_EQ(target.handled, 2);
  EXPECT_EQ(prompter.log.size(), 1);
}

}  // namespace
}  // namespace app
