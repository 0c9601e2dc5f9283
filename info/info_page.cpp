#include "info/info_page.h"

#include "res/templates.h"

namespace vornik {

CInfo::CInfo(QWidget* parent) : TemplatePage(res::kTemplate104, parent) {}

}  // namespace vornik
