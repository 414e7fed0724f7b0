// Qt's own dialogs speak Spanish once the program has installed Qt's
// translations: a file dialog as the export shows it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>

#include "platform/ui/traducciones.h"

namespace {

TEST(Traducciones, DialogoDeArchivosEnCastellano) {
  QTranslator* traductor = ui::instalarTraducciones();
  ASSERT_NE(traductor, nullptr) << "faltan las traducciones de Qt (qt6-translations-l10n)";
  {
    QFileDialog d;
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(QFileDialog::AcceptSave);
    auto* buscar = d.findChild<QLabel*>(QStringLiteral("lookInLabel"));
    ASSERT_NE(buscar, nullptr);
    auto* botones = d.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_NE(botones, nullptr);
    EXPECT_EQ(buscar->text(), QStringLiteral("Ver en:"));  // "Look in:"
    EXPECT_EQ(botones->button(QDialogButtonBox::Save)->text(), QStringLiteral("&Guardar"));
  }
  QCoreApplication::removeTranslator(traductor);
  delete traductor;
}

}  // namespace
