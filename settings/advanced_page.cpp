#include "settings/advanced_page.h"

#include "res/templates.h"

namespace vornik {

CAdvanced::CAdvanced(QWidget* parent) : TemplatePage(res::kTemplate123, parent) {}

}  // namespace vornik
