// The GUI's decoders against the registry of report kinds: the program's
// bindings cover every routed kind, and a binding table that misses a kind or
// names an unrouted one is refused with a message that says which.
#include <gtest/gtest.h>

#include <vector>

#include "app/decoder_wiring.h"
#include "reports/report_registry.h"

using halvix::app::DecoderBindingProblems;
using halvix::app::GuiDecoderBinding;
using halvix::app::GuiDecoderBindings;

namespace {

void Ignore(const halvix::reports::DecoderContext&, const std::uint8_t*, int) {}

std::vector<GuiDecoderBinding> Without(std::string_view key) {
  std::vector<GuiDecoderBinding> bindings;
  for (const GuiDecoderBinding& b : GuiDecoderBindings()) {
    if (b.key != key) bindings.push_back(b);
  }
  return bindings;
}

}  // namespace

TEST(DecoderBinding, EveryRoutedKindHasExactlyTheProgramsDecoder) {
  EXPECT_EQ(DecoderBindingProblems(GuiDecoderBindings()), QString());
  for (const GuiDecoderBinding& b : GuiDecoderBindings()) {
    EXPECT_NE(b.decoder, nullptr) << b.key;
  }
}

TEST(DecoderBinding, MissingUnknownOrEmptyBindingsAreNamed) {
  // Each routed kind, left out in turn, is named with its report name.
  for (const halvix::reports::ReportKindRow& kind : halvix::reports::ReportKinds()) {
    const QString key = QString::fromLatin1(kind.key().data(), static_cast<qsizetype>(kind.key().size()));
    const QString problems = DecoderBindingProblems(Without(kind.key()));
    EXPECT_TRUE(problems.contains(QStringLiteral("Report %1 (").arg(key))) << problems.toStdString();
    EXPECT_TRUE(problems.contains(QString::fromLatin1(kind.name.data(), static_cast<qsizetype>(kind.name.size()))));
    EXPECT_EQ(problems.count(QLatin1Char('\n')), 0) << "only that kind: " << problems.toStdString();
  }

  std::vector<GuiDecoderBinding> bindings = Without("8F-AB");
  bindings.push_back({"8F-AB", nullptr});
  bindings.push_back({"8F-99", &Ignore});
  const QString problems = DecoderBindingProblems(bindings);
  EXPECT_TRUE(problems.contains(QStringLiteral("Report 8F-AB (Primary Timing) has no decoder.")))
      << problems.toStdString();
  EXPECT_TRUE(problems.contains(QStringLiteral("report 8F-99, which is not routed"))) << problems.toStdString();
}
