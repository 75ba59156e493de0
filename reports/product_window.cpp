#include "reports/product_window.h"

namespace halvix::reports {

TForm_Product::TForm_Product(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form_Product"));
  setWindowTitle(QStringLiteral("Product Info"));
}

}  // namespace halvix::reports
