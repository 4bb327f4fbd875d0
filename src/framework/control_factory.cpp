#include "framework/control_factory.h"

#include "framework/list_view.h"
#include "framework/playlist_tree_view.h"
#include "framework/ui_combo.h"
#include "framework/ui_container.h"
#include "framework/ui_edit.h"
#include "framework/ui_label.h"
#include "framework/ui_progress.h"
#include "framework/web_browser_ui.h"

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
    {"ListView", &Make<CListViewUI>},
};

}  // namespace

CControlUI* CreateBuiltinControl(std::string_view tag) {
  for (const FactoryEntry& entry : kControls) {
    if (entry.tag == tag) return entry.make();
  }
  return nullptr;
}

}  // namespace DuiLib
