// Test entry point: a real QApplication (offscreen unless told otherwise) and
// a fresh program context for every test.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "platform/ctx/programa.h"

namespace {

class ContextoPorPrueba : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { alcance_ = std::make_unique<ctx::Alcance>(); }
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
