// Test entry point: a real QApplication (offscreen unless told otherwise) and
// a fresh program context for every test, with the scripted UI installed so
// that a box nobody expected fails the test instead of waiting for a person.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "platform/ctx/programa.h"
#include "tests/support/guion_ui.h"

namespace {

class ContextoPorPrueba : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    alcance_ = std::make_unique<ctx::Alcance>();
    prueba::instalarGuion();
  }
  // Runs before the result printer's OnTestEnd, so that expectations left
  // unshown are reported as failures of the test they belong to.
  void OnTestEnd(const ::testing::TestInfo&) override { alcance_.reset(); }

 private:
  std::unique_ptr<ctx::Alcance> alcance_;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ContextoPorPrueba);
  return RUN_ALL_TESTS();
}
