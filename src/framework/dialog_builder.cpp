#include "framework/dialog_builder.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "framework/control_factory.h"
#include "framework/qt_bridge.h"

namespace DuiLib {

namespace {

struct XmlNode {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::vector<std::unique_ptr<XmlNode>> children;

  std::string_view Attribute(std::string_view key) const {
    for (const auto& [k, v] : attributes) {
      if (k == key) return v;
    }
    return {};
  }
};

// Parses the whole document; null and `error` on malformed input.
std::unique_ptr<XmlNode> ParseXml(const QByteArray& data, std::string& error) {
  QXmlStreamReader reader(data);
  std::unique_ptr<XmlNode> root;
  std::vector<XmlNode*> stack;
  while (!reader.atEnd()) {
    const auto token = reader.readNext();
    if (token == QXmlStreamReader::StartElement) {
      auto node = std::make_unique<XmlNode>();
      node->name = reader.name().toString().toStdString();
      for (const QXmlStreamAttribute& a : reader.attributes()) {
        node->attributes.emplace_back(a.name().toString().toStdString(),
                                      a.value().toString().toStdString());
      }
      XmlNode* raw = node.get();
      if (stack.empty()) {
        root = std::move(node);
      } else {
        stack.back()->children.push_back(std::move(node));
      }
      stack.push_back(raw);
    } else if (token == QXmlStreamReader::EndElement) {
      if (!stack.empty()) stack.pop_back();
    }
  }
  if (reader.hasError()) {
    error = "line " + std::to_string(reader.lineNumber()) + ", column " +
            std::to_string(reader.columnNumber()) + ": " + reader.errorString().toStdString();
    return nullptr;
  }
  if (!root) error = "no root element";
  return root;
}

int ToInt(std::string_view v) {
  return static_cast<int>(std::strtol(std::string(v).c_str(), nullptr, 10));
}
bool ToBool(std::string_view v) {
  return v == "true" || v == "1";
}

class Parser {
 public:
  Parser(CDialogBuilder& builder, IDialogBuilderCallback* callback, CPaintManagerUI* manager)
      : builder_(builder), callback_(callback), manager_(manager) {}

  CControlUI* BuildDocument(const XmlNode& root, CControlUI* parent) {
    if (root.name != "Window") return BuildControl(root, parent);
    if (manager_ != nullptr) ApplyWindow(root);
    for (const auto& child : root.children) {
      if (child->name == "Font" || child->name == "Default") continue;
      return BuildControl(*child, parent);
    }
    return nullptr;
  }

 private:
  void ApplyWindow(const XmlNode& window) {
    for (const auto& [key, value] : window.attributes) {
      if (key == "size") {
        const SIZE s = ParseSize(value);
        manager_->SetInitSize(s.cx, s.cy);
      } else if (key == "mininfo") {
        const SIZE s = ParseSize(value);
        manager_->SetMinInfo(s.cx, s.cy);
      } else if (key == "caption") {
        manager_->SetCaptionRect(ParseRect(value));
        manager_->SetHasCaption(true);
      } else if (key == "sizebox") {
        manager_->SetSizeBox(ParseRect(value));
      } else if (key == "defaultfontcolor") {
        manager_->SetDefaultFontColor(ParseColor(value));
      }
    }
    for (const auto& child : window.children) {
      if (child->name == "Font") {
        manager_->AddFont(ToInt(child->Attribute("id")), child->Attribute("name"),
                          ToInt(child->Attribute("size")), ToBool(child->Attribute("bold")),
                          ToBool(child->Attribute("underline")), ToBool(child->Attribute("italic")),
                          ToBool(child->Attribute("default")));
      } else if (child->name == "Default") {
        manager_->AddDefaultAttributeList(child->Attribute("name"), child->Attribute("value"));
      }
    }
  }

  CControlUI* BuildControl(const XmlNode& node, CControlUI* parent) {
    if (node.name == "Include") {
      CDialogBuilder nested;
      return nested.Create(node.Attribute("source"), {}, callback_, manager_, parent);
    }
    CControlUI* control = CreateBuiltinControl(node.name);
    if (control == nullptr && callback_ != nullptr)
      control = callback_->CreateControl(node.name.c_str());
    if (control == nullptr) control = new CControlUI();  // an unknown tag keeps its place

    if (control->GetInterface("IContainer") != nullptr) {
      for (const auto& child : node.children) BuildControl(*child, control);
    }
    if (parent != nullptr) {
      auto* container = static_cast<IContainerUI*>(parent->GetInterface("IContainer"));
      if (container == nullptr || !container->Add(control)) {
        delete control;
        return nullptr;
      }
    }
    control->SetManager(manager_, parent, false);
    if (manager_ != nullptr) {
      const CDuiString defaults = manager_->GetDefaultAttributeList(node.name);
      if (!defaults.empty()) control->ApplyAttributeList(defaults);
    }
    for (const auto& [key, value] : node.attributes) control->SetAttribute(key, value);
    return control;
  }

  CDialogBuilder& builder_;
  IDialogBuilderCallback* callback_;
  CPaintManagerUI* manager_;
};

}  // namespace

CControlUI* CDialogBuilder::Create(std::string_view file, std::string_view,
                                   IDialogBuilderCallback* callback, CPaintManagerUI* manager,
                                   CControlUI* parent) {
  lastError_.clear();
  QString path = ToQ(file);
  if (!QDir::isAbsolutePath(path)) path = ToQ(CPaintManagerUI::GetResourcePath()) + path;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    lastError_ = "skin file \"" + path.toStdString() + "\" cannot be read";
    return nullptr;
  }
  CControlUI* root = CreateFromString(f.readAll().toStdString(), callback, manager, parent);
  if (root == nullptr && !lastError_.empty()) {
    lastError_ = "skin file \"" + path.toStdString() + "\" is malformed: " + lastError_;
  }
  return root;
}

CControlUI* CDialogBuilder::CreateFromString(std::string_view xml, IDialogBuilderCallback* callback,
                                             CPaintManagerUI* manager, CControlUI* parent) {
  lastError_.clear();
  std::string error;
  auto root = ParseXml(QByteArray(xml.data(), static_cast<qsizetype>(xml.size())), error);
  if (!root) {
    lastError_ = error;
    return nullptr;
  }
  Parser parser(*this, callback, manager);
  CControlUI* control = parser.BuildDocument(*root, parent);
  if (control == nullptr) lastError_ = "no control in the skin";
  return control;
}

}  // namespace DuiLib
