#include "ui/framework/control_factory.h"

#include "ui/framework/playlist_tree_view.h"
#include "ui/framework/ui_combo.h"
#include "ui/framework/ui_container.h"
#include "ui/framework/ui_edit.h"
#include "ui/framework/ui_label.h"
#include "ui/framework/ui_progress.h"
#include "ui/framework/web_browser_ui.h"

namespace DuiLib {

namespace {

template <class T>
CControlUI* Make() {
  return new T();
}

struct FactoryEntry {
  std::string_view tag;
  CControlUI* (*make)();
};

// Skin tag → control. Own controls that live in this folder are added here with one line each.
constexpr FactoryEntry kControls[] = {
    {"Control", &Make<CControlUI>},
    {"Container", &Make<CContainerUI>},
    {"VerticalLayout", &Make<CVerticalLayoutUI>},
    {"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {"Label", &Make<CLabelUI>},
    {"Text", &Make<CTextUI>},
    {"Button", &Make<CButtonUI>},
    {"Option", &Make<COptionUI>},
    {"CheckBox", &Make<CCheckBoxUI>},
    {"Progress", &Make<CProgressUI>},
    {"Slider", &Make<CSliderUI>},
    {"Combo", &Make<CComboUI>},
    {"ListLabelElement", &Make<CListLabelElementUI>},
    {"Edit", &Make<CEditUI>},
    {"WebBrowser", &Make<CWebBrowserUI>},
    {"PlayListTreeView", &Make<CPlayListTreeViewUI>},
};

}  // namespace

CControlUI* CreateBuiltinControl(std::string_view tag) {
  for (const FactoryEntry& entry : kControls) {
    if (entry.tag == tag) return entry.make();
  }
  return nullptr;
}

}  // namespace DuiLib
