#include "sim/persona.h"

#include <array>

namespace halvix::sim {
namespace {

// Corvel family: machine ID 96 with the premium option that names the variant.
// Brisel: machine ID 91. AB and AC once a second on the Corvel family, and
// event-time reports on every type.
constexpr std::array<Persona, 5> kPersonas = {{
    {"corvel", "Corvel GPS Timing Receiver", {1, 4, 3, 17, 108}, 2, 14, 22, 5, {5, 20, 7, 30, 107}, true,
     81, 5234110, 8, 4, 2, 9, 0.64f, 1107,
     51, 0, 81, 5234871, 48210, 0, 96, 0x22, 0xC0},
    {"norden", "Corvel Norden Timing Receiver", {1, 5, 6, 2, 108}, 1, 9, 41, 37, {5, 20, 7, 30, 107}, true,
     81, 5240017, 8, 5, 20, 11, 0.58f, 1107,
     51, 1, 81, 5240522, 48377, 8, 96, 0x22, 0xC0},
    {"pellam", "Corvel Pellam Timing Receiver", {1, 6, 9, 12, 108}, 3, 16, 5, 58, {5, 21, 8, 14, 108}, true,
     82, 5311904, 8, 8, 28, 14, 0.71f, 1108,
     51, 2, 82, 5312266, 48519, 4, 96, 0x22, 0xC0},
    {"cvl2", "Corvel CVL2 Compatible Receiver", {1, 3, 1, 21, 108}, 7, 11, 30, 12, {5, 20, 7, 30, 107}, true,
     81, 5229984, 8, 1, 8, 10, 0.66f, 1107,
     51, 3, 81, 5230311, 48166, 2, 96, 0x22, 0xC0},
    {"brisel", "Brisel GPS Receiver", {2, 11, 10, 3, 106}, 0, 8, 15, 0, {4, 6, 5, 22, 106}, false,
     74, 4102733, 6, 11, 15, 8, 0.92f, 906,
     47, 0, 74, 4103090, 39012, 0, 91, 0x33, 0x00},
}};

}  // namespace

const Persona* FindPersona(const QString& name) {
  const QString key = name.trimmed().toLower();
  for (const Persona& p : kPersonas) {
    if (key == QLatin1String(p.key)) return &p;
  }
  return nullptr;
}

const Persona& DefaultPersona() { return kPersonas[0]; }

QStringList PersonaNames() {
  QStringList names;
  for (const Persona& p : kPersonas) names << QLatin1String(p.key);
  return names;
}

}  // namespace halvix::sim
