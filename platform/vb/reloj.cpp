#include "platform/vb/reloj.h"

#include "platform/ctx/programa.h"

namespace vb {

QDateTime Reloj::ahora() const {
  QDateTime t = fuente_ ? fuente_() : QDateTime::currentDateTime();
  // The platform's clock has whole seconds.
  return QDateTime(t.date(), QTime(t.time().hour(), t.time().minute(), t.time().second()));
}

void Reloj::fijar(const QDateTime& momento) {
  fuente_ = [momento] { return momento; };
}

void Reloj::usarFuente(std::function<QDateTime()> fuente) { fuente_ = std::move(fuente); }

void Reloj::usarSistema() { fuente_ = nullptr; }

Reloj& reloj() { return ctx::actual().instancia<Reloj>(); }

QDateTime Now() { return reloj().ahora(); }

QDateTime Date() { return QDateTime(reloj().ahora().date(), QTime(0, 0)); }

QDateTime Time() { return QDateTime(QDate(1899, 12, 30), reloj().ahora().time()); }

}  // namespace vb
