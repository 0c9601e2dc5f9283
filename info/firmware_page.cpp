#include "info/firmware_page.h"

#include "res/templates.h"

namespace vornik {

CFwUp::CFwUp(QWidget* parent) : TemplatePage(res::kTemplate101, parent) {}

}  // namespace vornik
