// Web browser control on QtWebEngine. runJavaScript answers later, while callers want to know at
// once whether a call can be made: once a page has loaded, the control learns which global
// functions it defines and answers from that set. Calls made while it loads wait in order.
// The control hosts a plain widget from the start and makes the web view inside it only when the
// first page is navigated to: starting the web engine takes a few hundred milliseconds of the UI
// thread, which the main window must not wait for before it is first shown.
#include "framework/web_browser_ui.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QLabel>
#include <QLibraryInfo>
#include <QPointer>
#include <QStackedLayout>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebChannel>
#include <atomic>
#include <deque>
#include <unordered_set>
#include <vector>

#include "framework/page_channel.h"
#include "framework/thread_call.h"
#include "framework/web_view_port.h"

namespace DuiLib {

namespace {

// Waiting calls are dropped beyond this, so a page that never loads cannot eat all memory.
constexpr std::size_t kMaxWaitingCalls = 1'000'000;
// Calls per script when a long run of calls is sent at once.
constexpr std::size_t kMaxCallsPerScript = 100'000;

bool IsScriptIdentifier(const std::string& name) {
  if (name.empty() || name.size() > 256) return false;
  auto first = [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
  };
  if (!first(name[0])) return false;
  for (char c : name) {
    if (!first(c) && !(c >= '0' && c <= '9')) return false;
  }
  return true;
}

// A JSON string literal, which is also a script string literal: nothing inside can end it.
void AppendJsonString(std::string& out, const std::string& text) {
  static const char kHex[] = "0123456789abcdef";
  out += '"';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20 || c == 0x7f) {
          out += "\\u00";
          out += kHex[c >> 4];
          out += kHex[c & 15];
        } else if (c == 0xe2 && i + 2 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                   (static_cast<unsigned char>(text[i + 2]) & 0xfe) == 0xa8) {
          // U+2028 and U+2029 end a line in older script parsers.
          out += (static_cast<unsigned char>(text[i + 2]) == 0xa8) ? "\\u2028" : "\\u2029";
          i += 2;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

std::string VariantToJson(const QVariant& value) {
  if (!value.isValid() || value.isNull()) return "null";
  const QJsonValue json = QJsonValue::fromVariant(value);
  if (json.isObject())
    return QJsonDocument(json.toObject()).toJson(QJsonDocument::Compact).toStdString();
  if (json.isArray())
    return QJsonDocument(json.toArray()).toJson(QJsonDocument::Compact).toStdString();
  // A scalar: wrap it in an array to let Qt format it, then unwrap.
  QByteArray text = QJsonDocument(QJsonArray{json}).toJson(QJsonDocument::Compact);
  return text.mid(1, text.size() - 2).toStdString();
}

// Whether the web engine's helper program can be found. Without it the engine ends the whole
// process as soon as a view starts, so the control checks first and shows a message instead.
bool WebEngineHelperPresent() {
  const QByteArray configured = qgetenv("QTWEBENGINEPROCESS_PATH");
  const QString helper = !configured.isEmpty()
                             ? QString::fromLocal8Bit(configured)
                             : QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) +
                                   QStringLiteral("/QtWebEngineProcess");
  const QFileInfo info(helper);
  return info.isFile() && info.isExecutable();
}

// The web engine module's entry, loaded once; null when the module cannot be loaded (the reason
// goes to the log). The module beside the program comes first, by its full path: a bare name is
// searched along the run path of whoever calls dlopen, and when a sanitizer's interceptor makes
// that call the program's run path is never looked at. The bare name then serves programs that
// live elsewhere and find the module along their own run path (the tests).
CreateWebViewFunction WebViewFactory() {
  static const CreateWebViewFunction factory = []() -> CreateWebViewFunction {
    const QByteArray besideProgram =
        QFile::encodeName(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                          QLatin1String(kWebEngineModule));
    void* module = QFileInfo::exists(QFile::decodeName(besideProgram))
                       ? dlopen(besideProgram.constData(), RTLD_NOW | RTLD_LOCAL)
                       : nullptr;
    if (module == nullptr) module = dlopen(kWebEngineModule, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
      qWarning("The web engine module cannot be loaded: %s", dlerror());
      return nullptr;
    }
    return reinterpret_cast<CreateWebViewFunction>(dlsym(module, kCreateWebViewSymbol));
  }();
  return factory;
}

}  // namespace

class CHtmlWindow {
 public:
  CHtmlWindow() {
    host_ = new QWidget();
    layout_ = new QStackedLayout(host_);
    layout_->setContentsMargins(0, 0, 0, 0);
  }

  // The view, a child of the host, goes with it; the control's base then finds the host gone.
  // Nothing the view's page says while it goes may reach this object.
  ~CHtmlWindow() { delete host_.data(); }

  // Makes the view on the first navigation; false when the web engine cannot start, in which case
  // the host shows `unavailableText_` and every later call fails as on a page that went away.
  bool EnsureView() {
    if (view_) return true;
    if (viewMade_) return false;
    viewMade_ = true;
    if (!WebEngineHelperPresent()) {
      ShowUnavailable();
      return false;
    }
    CreateWebViewFunction create = WebViewFactory();
    if (create == nullptr) {
      ShowUnavailable();
      return false;
    }
    WebViewEvents events;
    events.loadStarted = [this] { OnLoadStarted(); };
    events.loadFinished = [this](bool ok) { OnLoadFinished(ok); };
    events.titleChanged = [this](const QString& title) {
      if (CWebBrowserEventHandler* h = handler_.load()) h->TitleChange(title.toStdString());
    };
    events.console = [this](int level, const QString& message, int line, const QString& source) {
      if (CWebBrowserEventHandler* h = handler_.load())
        h->ConsoleMessage(level, message.toStdString(), line, source.toStdString());
    };
    events.destroying = [this] { view_ = nullptr; };
    view_ = create(host_, std::move(events));
    // The page's way back: the channel object outlives no view, being the view's child.
    channelObject_ = new CPageChannel(view_->Widget());
    channelObject_->SetHandler(pageHandler_);
    auto* channel = new QWebChannel(channelObject_);
    channel->registerObject(QStringLiteral("korvane"), channelObject_);
    view_->SetWebChannel(channel);
    layout_->addWidget(view_->Widget());
    layout_->setCurrentWidget(view_->Widget());
    return true;
  }

  void SetUnavailableText(const std::string& text) {
    unavailableText_ = QString::fromStdString(text);
    if (label_) label_->setText(unavailableText_);
  }
  bool IsUnavailable() const { return viewMade_ && !view_; }

  void Navigate(const std::string& url) {
    if (url.empty()) return;
    if (!EnsureView()) {
      // Nothing will load: calls that waited for this page are told so.
      if (CWebBrowserEventHandler* h = handler_.load()) h->BeforeNavigate2(url);
      FailWaiting();
      if (CWebBrowserEventHandler* h = handler_.load()) h->DocumentComplete(url, false);
      return;
    }
    const QString text = QString::fromStdString(url);
    const QUrl target =
        text.contains(QLatin1String("://")) ? QUrl(text) : QUrl::fromLocalFile(text);
    if (CWebBrowserEventHandler* h = handler_.load()) h->BeforeNavigate2(url);
    // Calls already made for the page being left go to it, not to the next one.
    Flush();
    EnterLoading();
    view_->SetUrl(target);
  }

  ScriptStatus Invoke(const std::string& method, const std::string* arguments, int count,
                      ScriptFailureSink onFailure) {
    if (!IsScriptIdentifier(method) || count < 0 || (count > 0 && !arguments))
      return kScriptInvalidArg;
    if (IsUnavailable()) return kScriptAborted;
    switch (EffectiveState()) {
      case State::Empty:
        return kScriptNotLoaded;
      case State::Loading:
        if (waiting_.size() >= kMaxWaitingCalls) return kScriptOutOfMemory;
        waiting_.push_back(MakeCall(method, arguments, count, std::move(onFailure)));
        return kScriptOk;
      case State::Ready:
        if (!functions_.count(method)) return kScriptUnknownName;
        outgoing_.push_back(MakeCall(method, arguments, count, std::move(onFailure)));
        ScheduleFlush();
        return kScriptOk;
    }
    return kScriptAborted;
  }

  void RunScript(const std::string& script, std::function<void(const std::string&)> done) {
    Call call;
    call.script = script;
    call.done = std::move(done);
    if (IsUnavailable() || EffectiveState() == State::Empty) {
      if (call.done) call.done("null");
      return;
    }
    if (EffectiveState() == State::Loading) {
      waiting_.push_back(std::move(call));
      return;
    }
    outgoing_.push_back(std::move(call));
    Flush();
  }

  // Called on any thread before a navigation is handed to the UI thread, so calls made meanwhile
  // wait for the page instead of failing.
  void NoteNavigationRequested() { navigationRequested_.store(true); }

  bool IsReady() const { return state_ == State::Ready; }
  void SetPageMessageHandler(PageMessageHandler handler) {
    pageHandler_ = std::move(handler);
    if (channelObject_) channelObject_->SetHandler(pageHandler_);
  }
  QWidget* Widget() const { return host_.data(); }
  std::atomic<CWebBrowserEventHandler*>& Handler() { return handler_; }

 private:
  enum class State { Empty, Loading, Ready };

  State EffectiveState() const {
    return (state_ == State::Empty && navigationRequested_.load()) ? State::Loading : state_;
  }

  struct Call {
    std::string method;  // empty for a plain script
    std::vector<std::string> args;
    ScriptFailureSink onFailure;
    std::string script;
    std::function<void(const std::string&)> done;
  };

  static Call MakeCall(const std::string& method, const std::string* arguments, int count,
                       ScriptFailureSink onFailure) {
    Call call;
    call.method = method;
    call.args.assign(arguments, arguments + count);
    call.onFailure = std::move(onFailure);
    return call;
  }

  void EnterLoading() {
    state_ = State::Loading;
    functions_.clear();
    ++generation_;
  }

  void OnLoadStarted() {
    if (state_ != State::Loading) {
      Flush();
      EnterLoading();
    }
  }

  // The page has loaded: learn its global functions, then deliver what waited for it.
  void OnLoadFinished(bool ok) {
    if (!view_) return;
    Probe(++generation_, ok, view_->Url().toString().toStdString(), 0);
  }

  // Asks the page for its functions. Until the document has really finished (a late signal of an
  // earlier load can arrive while the next one runs) it asks again, for a bounded time, so the
  // calls waiting for the page are never stranded.
  void Probe(unsigned generation, bool ok, const std::string& url, int attempt) {
    static const QString kProbe = QStringLiteral(
        "(function(){if(document.readyState!=='complete')return null;"
        "return Object.keys(window).filter(function(k){try{return typeof window[k]==='function'}"
        "catch(e){return false}})})()");
    constexpr int kMaxAttempts = 200;
    constexpr int kRetryMs = 50;
    view_->RunJavaScript(kProbe, [this, generation, ok, url, attempt](const QVariant& result) {
      if (!view_ || generation != generation_) return;
      const bool settled = !view_->IsLoading() && result.isValid() && !result.isNull();
      if (!settled && attempt < kMaxAttempts) {
        QTimer::singleShot(kRetryMs, view_->Widget(), [this, generation, ok, url, attempt] {
          if (view_ && generation == generation_) Probe(generation, ok, url, attempt + 1);
        });
        return;
      }
      functions_.clear();
      for (const QVariant& name : result.toList()) functions_.insert(name.toString().toStdString());
      state_ = State::Ready;
      DeliverWaiting();
      if (CWebBrowserEventHandler* h = handler_.load()) h->DocumentComplete(url, ok);
    });
  }

  void ShowUnavailable() {
    label_ = new QLabel(unavailableText_, host_);
    label_->setAlignment(Qt::AlignCenter);
    label_->setWordWrap(true);
    label_->setStyleSheet(QStringLiteral("color:#E3E7EC;background:#181B20;padding:12px"));
    layout_->addWidget(label_);
    layout_->setCurrentWidget(label_);
  }

  void FailWaiting() {
    std::deque<Call> waiting;
    waiting.swap(waiting_);
    navigationRequested_.store(false);
    for (Call& call : waiting) {
      if (call.onFailure) call.onFailure(kScriptAborted);
      if (call.done) call.done("null");
    }
  }

  void DeliverWaiting() {
    std::deque<Call> waiting;
    waiting.swap(waiting_);
    for (Call& call : waiting) {
      if (!call.method.empty() && !functions_.count(call.method)) {
        if (call.onFailure) call.onFailure(kScriptUnknownName);
        continue;
      }
      outgoing_.push_back(std::move(call));
    }
    Flush();
  }

  void ScheduleFlush() {
    if (flushScheduled_) return;
    flushScheduled_ = true;
    QTimer::singleShot(0, host_.data(), [this] { Flush(); });
  }

  // Sends every outgoing call: runs of function calls as one script each, in order. The calls are
  // read where they stand; only their failure sinks are kept for the answer. Calls made while
  // this runs (from an answer given at once) go after the ones it holds.
  void Flush() {
    flushScheduled_ = false;
    if (flushing_) return;
    flushing_ = true;
    while (view_ && !outgoing_.empty()) {
      std::deque<Call> calls;
      calls.swap(outgoing_);
      std::size_t i = 0;
      while (i < calls.size()) {
        if (calls[i].method.empty()) {
          SendScript(std::move(calls[i++]));
          continue;
        }
        std::size_t end = i + 1;
        while (end < calls.size() && end - i < kMaxCallsPerScript && !calls[end].method.empty()) {
          ++end;
        }
        SendCalls(calls, i, end);
        i = end;
      }
    }
    flushing_ = false;
  }

  // One script for calls [from, to). Consecutive calls of one function with as many arguments
  // share one loop over a flat array of their arguments; a call that throws does not stop the
  // ones after it.
  void SendCalls(std::deque<Call>& batch, std::size_t from, std::size_t to) {
    std::string js =
        "(function(){var w=window,f=[];"
        "function c(i,n,m,k,a){var g=w[n];for(var j=0;j<k;j++,i++){try{"
        "if(m===0)g();else if(m===1)g(a[j]);else if(m===2)g(a[2*j],a[2*j+1]);"
        "else if(m===4)g(a[4*j],a[4*j+1],a[4*j+2],a[4*j+3]);"
        "else g.apply(w,a.slice(j*m,j*m+m));}catch(e){f.push(i)}}}\n";
    js.reserve((to - from) * 48 + 256);
    std::size_t i = from;
    while (i < to) {
      std::size_t end = i + 1;
      while (end < to && batch[end].method == batch[i].method &&
             batch[end].args.size() == batch[i].args.size()) {
        ++end;
      }
      js += "c(" + std::to_string(i - from) + ",";
      AppendJsonString(js, batch[i].method);
      js += "," + std::to_string(batch[i].args.size()) + "," + std::to_string(end - i) + ",";
      AppendArguments(js, batch, i, end);
      js += ");\n";
      i = end;
    }
    js += "return f})()";
    auto sinks = std::make_shared<std::vector<ScriptFailureSink>>();
    sinks->reserve(to - from);
    for (std::size_t k = from; k < to; ++k) sinks->push_back(std::move(batch[k].onFailure));
    view_->RunJavaScript(QString::fromStdString(js), [sinks](const QVariant& failed) {
      for (const QVariant& index : failed.toList()) {
        const auto k = index.toULongLong();
        if (k < sinks->size() && (*sinks)[k]) (*sinks)[k](kScriptException);
      }
    });
  }

  // The arguments of calls [from, to) as one flat array expression. When none holds a comma they
  // go as one string split at commas: the page parses one long string literal far faster than
  // tens of thousands of short ones (a route of 36 000 points spends 0.1 to 0.3 s less).
  static void AppendArguments(std::string& js, const std::deque<Call>& batch, std::size_t from,
                              std::size_t to) {
    bool joinable = !batch[from].args.empty();
    for (std::size_t k = from; k < to && joinable; ++k) {
      for (const std::string& arg : batch[k].args) {
        if (arg.find(',') != std::string::npos) joinable = false;
      }
    }
    std::string joined;
    bool first = true;
    if (!joinable) js += '[';
    for (std::size_t k = from; k < to; ++k) {
      for (const std::string& arg : batch[k].args) {
        if (!joinable) {
          if (!first) js += ',';
          AppendJsonString(js, arg);
        } else {
          if (!first) joined += ',';
          joined += arg;
        }
        first = false;
      }
    }
    if (joinable) {
      AppendJsonString(js, joined);
      js += ".split(',')";
    } else {
      js += ']';
    }
  }

  void SendScript(Call call) {
    auto done = std::move(call.done);
    view_->RunJavaScript(QString::fromStdString(call.script), [done](const QVariant& value) {
      if (done) done(VariantToJson(value));
    });
  }

  QPointer<QWidget> host_;            // owned by the control once hosted
  QStackedLayout* layout_ = nullptr;  // the host's
  IWebView* view_ =
      nullptr;  // made on the first navigation, a child of the host; cleared as it goes
  QPointer<CPageChannel> channelObject_;  // a child of the view
  PageMessageHandler pageHandler_;        // kept for a view made later
  QPointer<QLabel> label_;                // the message shown when the web engine cannot start
  bool viewMade_ = false;                 // the first navigation has tried to make the view
  QString unavailableText_ =
      QStringLiteral("The map cannot be shown: the web engine did not start.");
  std::atomic<CWebBrowserEventHandler*> handler_{nullptr};
  std::atomic<bool> navigationRequested_{false};
  State state_ = State::Empty;
  unsigned generation_ = 0;
  std::unordered_set<std::string> functions_;
  std::deque<Call> waiting_;   // made while the page loads
  std::deque<Call> outgoing_;  // for the loaded page, sent on the next turn of the event loop
  bool flushScheduled_ = false;
  bool flushing_ = false;
};

CWebBrowserUI::CWebBrowserUI() : window_(std::make_unique<CHtmlWindow>()) {
  SetHostedWidget(window_->Widget());
}

// The script object deletes the view it made; the base then finds it gone.
CWebBrowserUI::~CWebBrowserUI() = default;

void* CWebBrowserUI::GetInterface(std::string_view name) {
  if (name == "WebBrowser") return this;
  return CControlUI::GetInterface(name);
}

void CWebBrowserUI::NavigateUrl(const std::string& url) {
  if (url.empty()) return;
  CHtmlWindow* window = window_.get();
  window->NoteNavigationRequested();
  RunOnThreadOf(window->Widget(), [window, url] { window->Navigate(url); });
}

void CWebBrowserUI::SetWebBrowserEventHandler(CWebBrowserEventHandler* handler) {
  window_->Handler().store(handler);
}

CWebBrowserEventHandler* CWebBrowserUI::GetWebBrowserEventHandler() const {
  return window_->Handler().load();
}

void CWebBrowserUI::SetUnavailableText(const std::string& text) {
  window_->SetUnavailableText(text);
}

CHtmlWindow* CWebBrowserUI::GetHtmlWindow() const {
  return window_.get();
}

ScriptStatus CWebBrowserUI::InvokeMethod(CHtmlWindow* window, const std::string& method,
                                         const std::string* arguments, int count,
                                         ScriptFailureSink onFailure) {
  if (!window) return kScriptInvalidArg;
  QWidget* widget = window->Widget();
  if (widget && QThread::currentThread() != widget->thread()) {
    // Only the UI thread owns the page; from elsewhere the call is handed over unchecked.
    if (!IsScriptIdentifier(method) || count < 0 || (count > 0 && !arguments))
      return kScriptInvalidArg;
    std::vector<std::string> args(arguments, arguments + count);
    QueueCall(widget,
              [window, method, args = std::move(args), onFailure = std::move(onFailure)]() mutable {
                const ScriptStatus status =
                    window->Invoke(method, args.data(), static_cast<int>(args.size()), onFailure);
                if (status < 0 && onFailure) onFailure(status);
              });
    return kScriptOk;
  }
  return window->Invoke(method, arguments, count, std::move(onFailure));
}

void CWebBrowserUI::RunScript(const std::string& script,
                              std::function<void(const std::string&)> done) {
  window_->RunScript(script, std::move(done));
}

void CWebBrowserUI::SetPageMessageHandler(PageMessageHandler handler) {
  window_->SetPageMessageHandler(std::move(handler));
}

bool CWebBrowserUI::IsPageReady() const {
  return window_->IsReady();
}

QWidget* CWebBrowserUI::GetWidget() const {
  return window_->Widget();
}

}  // namespace DuiLib
