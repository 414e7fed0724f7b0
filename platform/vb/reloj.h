#pragma once
// The clock behind Now, Date and Time. Each program context has its own, so a
// test can fix the time and check what the program writes with it.
#include <QDateTime>
#include <functional>

namespace vb {

class Reloj {
 public:
  // The current local date and time, to the second.
  QDateTime ahora() const;

  // Always answers this moment (tests).
  void fijar(const QDateTime& momento);
  // Answers whatever the function gives (tests that need the time to move).
  void usarFuente(std::function<QDateTime()> fuente);
  // Back to the system clock.
  void usarSistema();

 private:
  std::function<QDateTime()> fuente_;
};

// The clock of the context in force.
Reloj& reloj();

QDateTime Now();
// Today at midnight.
QDateTime Date();
// The current time on the zero date (30/12/1899), as the platform gives it.
QDateTime Time();

}  // namespace vb
