#include "window_driver.h"

#include <commctrl.h>
#include <shlobj.h>
#include <wincodec.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "win32/control_ids.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr UINT kSendTimeoutMs = 10000;
// Offset of the text buffer behind a structure in remote memory.
constexpr std::size_t kTextOffset = 256;
constexpr std::size_t kTextChars = 1024;

// A message sent to the tool's thread, which answers it at its next pumping
// point even during a scan. 0 when it does not answer in time.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result)) return 0;
  return static_cast<LRESULT>(result);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

DWORD ProcessOf(HWND window) {
  DWORD id = 0;
  GetWindowThreadProcessId(window, &id);
  return id;
}

// Every window below `parent`, at any depth.
std::vector<HWND> Descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM list) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> TopLevelWindowsOf(DWORD process) {
  struct Search {
    DWORD process;
    std::vector<HWND> found;
  } search{process, {}};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto& s = *reinterpret_cast<Search*>(data);
        if (ProcessOf(window) == s.process && IsWindowVisible(window)) s.found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The static that holds a message box's text (id 0xFFFF).
HWND MessageTextOf(HWND box) {
  for (HWND child : Descendants(box)) {
    if ((GetDlgCtrlID(child) & 0xFFFF) == 0xFFFF && ClassOf(child) == L"Static") return child;
  }
  return nullptr;
}

HWND ChildOfClass(HWND parent, const wchar_t* windowClass) {
  for (HWND child : Descendants(parent)) {
    if (ClassOf(child) == windowClass) return child;
  }
  return nullptr;
}

bool ShowsText(HWND dialog, const std::wstring& text) {
  for (HWND child : Descendants(dialog)) {
    if (ClassOf(child) == L"Static" && TextOf(child) == text) return true;
  }
  return false;
}

bool EqualIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return towlower(x) == towlower(y); });
}

// 32-bit pixels (blue, green, red, unused) of a top-down bitmap.
class Pixels {
 public:
  Pixels(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    if (bitmap_) previous_ = SelectObject(dc_, bitmap_);
  }
  ~Pixels() {
    if (previous_) SelectObject(dc_, previous_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
  }
  Pixels(const Pixels&) = delete;
  Pixels& operator=(const Pixels&) = delete;

  bool Valid() const { return bits_ != nullptr; }
  HDC Dc() const { return dc_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t At(int x, int y) const { return bits_[y * width_ + x] & 0x00FFFFFF; }
  std::uint32_t* Bits() { return bits_; }

  // What the screen shows at (left, top).
  bool CopyScreen(int left, int top) {
    if (!Valid()) return false;
    const HDC screen = GetDC(nullptr);
    const bool copied = BitBlt(dc_, 0, 0, width_, height_, screen, left, top, SRCCOPY) != FALSE;
    ReleaseDC(nullptr, screen);
    GdiFlush();
    return copied;
  }
  void Fill(COLORREF colour) {
    const RECT all{0, 0, width_, height_};
    const HBRUSH brush = CreateSolidBrush(colour);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
    GdiFlush();
  }

 private:
  int width_, height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// True when `shown` holds the opaque pixels of `icon`: those that come out
// the same drawn over black and over white.
bool ShowsIcon(const Pixels& shown, HICON icon) {
  Pixels overBlack(shown.Width(), shown.Height());
  Pixels overWhite(shown.Width(), shown.Height());
  if (!overBlack.Valid() || !overWhite.Valid()) return false;
  overBlack.Fill(RGB(0, 0, 0));
  overWhite.Fill(RGB(255, 255, 255));
  DrawIconEx(overBlack.Dc(), 0, 0, icon, shown.Width(), shown.Height(), 0, nullptr, DI_NORMAL);
  DrawIconEx(overWhite.Dc(), 0, 0, icon, shown.Width(), shown.Height(), 0, nullptr, DI_NORMAL);
  GdiFlush();
  int opaque = 0;
  for (int y = 0; y < shown.Height(); ++y) {
    for (int x = 0; x < shown.Width(); ++x) {
      if (overBlack.At(x, y) != overWhite.At(x, y)) continue;
      ++opaque;
      if (shown.At(x, y) != overBlack.At(x, y)) return false;
    }
  }
  return opaque > shown.Width() * shown.Height() / 4;
}

// Sends `message` to a control of `process` with `query` placed in that
// process's memory and its text pointer aimed at a buffer there, and returns
// the text that the control wrote into it.
template <typename Query>
std::wstring QueryText(HANDLE process, HWND control, UINT message, WPARAM wParam, Query query) {
  RemoteBuffer remote(process, kTextOffset + kTextChars * sizeof(wchar_t));
  query.pszText = static_cast<wchar_t*>(remote.At(kTextOffset));
  query.cchTextMax = kTextChars;
  const wchar_t none = L'\0';
  if (!remote.Write(0, &query, sizeof query) || !remote.Write(kTextOffset, &none, sizeof none)) return {};
  Send(control, message, wParam, reinterpret_cast<LPARAM>(remote.At()));
  return remote.ReadText(kTextOffset, kTextChars);
}

template <typename T>
void ReleaseCom(T*& pointer) {
  if (pointer) pointer->Release();
  pointer = nullptr;
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = Clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (Clock::now() >= deadline) return false;
    Sleep(5);
  }
}

RemoteBuffer::RemoteBuffer(HANDLE process, std::size_t size)
    : process_(process),
      address_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)),
      size_(size) {}

RemoteBuffer::~RemoteBuffer() {
  if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBuffer::Write(std::size_t offset, const void* data, std::size_t size) {
  SIZE_T written = 0;
  return address_ && offset + size <= size_ &&
         WriteProcessMemory(process_, At(offset), data, size, &written) && written == size;
}

bool RemoteBuffer::Read(std::size_t offset, void* data, std::size_t size) const {
  SIZE_T read = 0;
  return address_ && offset + size <= size_ && ReadProcessMemory(process_, At(offset), data, size, &read) &&
         read == size;
}

std::wstring RemoteBuffer::ReadText(std::size_t offset, std::size_t chars) const {
  std::wstring text(chars, L'\0');
  if (!Read(offset, text.data(), chars * sizeof(wchar_t))) return {};
  text.resize(std::wcslen(text.c_str()));
  return text;
}

std::wstring DosPathOf(const std::string& path) {
  using Convert = wchar_t*(CDECL*)(const char*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (convert && !path.empty() && path[0] == '/') {
    if (wchar_t* dos = convert(path.c_str())) {
      std::wstring result = dos;
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring wide(path.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(length > 0 ? length - 1 : 0);
  return wide;
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string utf8(length, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), length, nullptr,
                      nullptr);
  return utf8;
}

void PrintTo(const SeenMessage& message, std::ostream* out) {
  *out << "{\"" << Utf8(message.text) << "\", \"" << Utf8(message.title) << "\", icon " << message.icon << "}";
}

void PrintTo(const SeenRow& row, std::ostream* out) {
  *out << "{\"" << Utf8(row.name) << "\", \"" << Utf8(row.folder) << "\", \"" << Utf8(row.verdict) << "\"}";
}

void PrintTo(const Place& place, std::ostream* out) {
  *out << "(" << place.x << ", " << place.y << "), " << place.width << " x " << place.height;
}

std::wstring TextOf(HWND window) {
  const auto length = static_cast<std::size_t>(Send(window, WM_GETTEXTLENGTH));
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied)) {
    return {};
  }
  text.resize(std::min<std::size_t>(copied, length));
  return text;
}

bool IsTicked(HWND button) { return Send(button, BM_GETCHECK) == BST_CHECKED; }

bool IsEnabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

void Press(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

void PressAndWait(HWND button) { Send(button, BM_CLICK); }

Place PlaceIn(HWND window, HWND parent) {
  RECT own{};
  GetWindowRect(window, &own);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&own), 2);
  return {own.left, own.top, own.right - own.left, own.bottom - own.top};
}

Place OuterPlace(HWND window) {
  RECT own{};
  GetWindowRect(window, &own);
  return {own.left, own.top, own.right - own.left, own.bottom - own.top};
}

ToolProcess::ToolProcess(const std::wstring& exePath, const std::wstring& workingFolder) {
  std::wstring commandLine = L"\"" + exePath + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      workingFolder.empty() ? nullptr : workingFolder.c_str(), &startup, &started)) {
    return;
  }
  CloseHandle(started.hThread);
  process_ = FileHandle(started.hProcess);
  id_ = started.dwProcessId;
  WaitUntil(
      [this] {
        for (HWND window : TopLevelWindowsOf(id_)) {
          if (ClassOf(window) == kMainWindowClass) window_ = window;
        }
        return window_ != nullptr || !Running();
      },
      30s);
}

ToolProcess::~ToolProcess() {
  if (!Running()) return;
  // Dialogs first: the window's close must not wait behind a modal loop.
  for (int round = 0; round < 10; ++round) {
    const HWND box = FindMessageBox();
    const HWND browser = box ? nullptr : FindFolderBrowser();
    if (!box && !browser) break;
    if (box) Press(GetDlgItem(box, IDOK));
    if (browser) Press(GetDlgItem(browser, IDCANCEL));
    WaitUntil([&] { return !IsWindow(box ? box : browser); }, 2s);
  }
  if (window_ && IsWindow(window_)) PostMessageW(window_, WM_CLOSE, 0, 0);
  if (!WaitForExit(10s)) {
    TerminateProcess(Handle(), 1);
    WaitForSingleObject(Handle(), 5000);
  }
}

bool ToolProcess::Running() const { return process_.Valid() && WaitForSingleObject(Handle(), 0) == WAIT_TIMEOUT; }

HWND ToolProcess::Control(int id) const {
  if (const HWND direct = GetDlgItem(window_, id)) return direct;
  for (HWND child : Descendants(window_)) {
    if (GetDlgCtrlID(child) == id) return child;
  }
  return nullptr;
}

std::optional<DWORD> ToolProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!process_.Valid() || WaitForSingleObject(Handle(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(Handle(), &code);
  return code;
}

int ToolProcess::RowCount() const { return static_cast<int>(Send(Control(kIdResultList), LVM_GETITEMCOUNT)); }

std::wstring ToolProcess::Cell(int row, int column) const {
  LVITEMW item{};
  item.iSubItem = column;
  return QueryText(Handle(), Control(kIdResultList), LVM_GETITEMTEXTW, row, item);
}

int ToolProcess::RowTick(int row) const {
  const auto state = Send(Control(kIdResultList), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2 ? 1 : 0;
}

bool ToolProcess::SetRowTick(int row, bool ticked) const {
  RemoteBuffer remote(Handle(), sizeof(LVITEMW));
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(ticked ? 2 : 1);
  return remote.Write(0, &item, sizeof item) &&
         Send(Control(kIdResultList), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(remote.At())) != 0;
}

std::vector<SeenRow> ToolProcess::Rows() const {
  std::vector<SeenRow> rows;
  const int count = RowCount();
  for (int row = 0; row < count; ++row) rows.push_back({Cell(row, 0), Cell(row, 1), Cell(row, 2)});
  return rows;
}

std::wstring ToolProcess::ColumnTitle(int column) const {
  LVCOLUMNW title{};
  title.mask = LVCF_TEXT;
  return QueryText(Handle(), Control(kIdResultList), LVM_GETCOLUMNW, column, title);
}

int ToolProcess::ColumnWidth(int column) const {
  return static_cast<int>(Send(Control(kIdResultList), LVM_GETCOLUMNWIDTH, column));
}

int ToolProcess::TabCount() const { return static_cast<int>(Send(Control(kIdTab), TCM_GETITEMCOUNT)); }

std::wstring ToolProcess::TabTitle(int page) const {
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  return QueryText(Handle(), Control(kIdTab), TCM_GETITEMW, page, item);
}

int ToolProcess::ProgressPosition() const { return static_cast<int>(Send(Control(kIdProgress), PBM_GETPOS)); }

int ToolProcess::ProgressMinimum() const {
  return static_cast<int>(Send(Control(kIdProgress), PBM_GETRANGE, TRUE, 0));
}

int ToolProcess::ProgressMaximum() const {
  return static_cast<int>(Send(Control(kIdProgress), PBM_GETRANGE, FALSE, 0));
}

std::wstring ToolProcess::StatusText(int panel) const {
  RemoteBuffer remote(Handle(), kTextChars * sizeof(wchar_t));
  const wchar_t none = L'\0';
  if (!remote.Write(0, &none, sizeof none)) return {};
  Send(Control(kIdStatusBar), SB_GETTEXTW, panel, reinterpret_cast<LPARAM>(remote.At()));
  return remote.ReadText(0, kTextChars);
}

std::vector<int> ToolProcess::StatusPanelEdges() const {
  constexpr int kMaxPanels = 16;
  RemoteBuffer remote(Handle(), kMaxPanels * sizeof(int));
  const auto count = static_cast<int>(
      Send(Control(kIdStatusBar), SB_GETPARTS, kMaxPanels, reinterpret_cast<LPARAM>(remote.At())));
  std::vector<int> edges(std::clamp(count, 0, kMaxPanels));
  if (!edges.empty() && !remote.Read(0, edges.data(), edges.size() * sizeof(int))) edges.clear();
  return edges;
}

HWND ToolProcess::FindMessageBox() const {
  for (HWND window : TopLevelWindowsOf(id_)) {
    if (ClassOf(window) == L"#32770" && MessageTextOf(window)) return window;
  }
  return nullptr;
}

HWND ToolProcess::FindFolderBrowser() const {
  for (HWND window : TopLevelWindowsOf(id_)) {
    if (ClassOf(window) == L"#32770" && ChildOfClass(window, WC_TREEVIEWW)) return window;
  }
  return nullptr;
}

std::optional<SeenMessage> ToolProcess::CloseMessageBox(std::chrono::milliseconds timeout) const {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindMessageBox()) != nullptr; }, timeout)) return std::nullopt;
  SeenMessage seen{TextOf(MessageTextOf(box)), TextOf(box), 0};
  WaitUntil([&] { return (seen.icon = IconOfMessageBox(box)) != 0; }, 3s);
  Press(GetDlgItem(box, IDOK));
  WaitUntil([&] { return !IsWindow(box); });
  return seen;
}

::testing::AssertionResult ToolProcess::OpenFolderBrowser(const std::wstring& prompt, HWND* browser) const {
  if (!WaitUntil([&] { return (*browser = FindFolderBrowser()) != nullptr; })) {
    return ::testing::AssertionFailure() << "no folder browser came up";
  }
  // The tree fills in after the dialog shows.
  if (!WaitUntil([&] { return Send(ChildOfClass(*browser, WC_TREEVIEWW), TVM_GETCOUNT) > 0; })) {
    return ::testing::AssertionFailure() << "the folder browser's tree stayed empty";
  }
  if (!ShowsText(*browser, prompt)) {
    return ::testing::AssertionFailure() << "the folder browser does not show the prompt \"" << Utf8(prompt)
                                         << "\"";
  }
  return ::testing::AssertionSuccess();
}

std::vector<std::wstring> ToolProcess::SelectedTreePath(HWND tree) const {
  std::vector<std::wstring> names;
  auto item = static_cast<LPARAM>(Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  while (item && names.size() < 32) {
    TVITEMW query{};
    query.mask = TVIF_TEXT | TVIF_HANDLE;
    query.hItem = reinterpret_cast<HTREEITEM>(item);
    names.push_back(QueryText(Handle(), tree, TVM_GETITEMW, 0, query));
    item = static_cast<LPARAM>(Send(tree, TVM_GETNEXTITEM, TVGN_PARENT, item));
  }
  return names;
}

::testing::AssertionResult ToolProcess::ChooseFolder(const std::wstring& path, const std::wstring& prompt) const {
  HWND browser = nullptr;
  if (auto opened = OpenFolderBrowser(prompt, &browser); !opened) return opened;
  const HWND tree = ChildOfClass(browser, WC_TREEVIEWW);

  // The folder's names below the drive, leaf first, and the drive.
  std::vector<std::wstring> expected;
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find(L'\\', start), path.size());
    if (end > start) expected.insert(expected.begin(), path.substr(start, end - start));
    start = end + 1;
  }
  const std::wstring drive = expected.empty() ? L"" : expected.back();
  if (!expected.empty()) expected.pop_back();
  auto selected = [&] {
    const std::vector<std::wstring> names = SelectedTreePath(tree);
    if (names.size() <= expected.size()) return false;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      if (!EqualIgnoringCase(names[i], expected[i])) return false;
    }
    return names[expected.size()].find(drive) != std::wstring::npos;
  };

  RemoteBuffer remote(Handle(), (path.size() + 1) * sizeof(wchar_t));
  if (!remote.Write(0, path.c_str(), (path.size() + 1) * sizeof(wchar_t))) {
    return ::testing::AssertionFailure() << "cannot write the path into the tool's memory";
  }
  // The browser does not always take the selection at the first try.
  bool taken = false;
  for (int attempt = 0; attempt < 20 && !taken; ++attempt) {
    Send(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(remote.At()));
    taken = WaitUntil(selected, 300ms);
  }
  if (!taken) {
    std::string names;
    for (const std::wstring& name : SelectedTreePath(tree)) names += " <" + Utf8(name) + ">";
    return ::testing::AssertionFailure() << "the folder browser did not select " << Utf8(path)
                                         << "; it shows" << names;
  }
  Press(GetDlgItem(browser, IDOK));
  if (!WaitUntil([&] { return !IsWindow(browser); })) {
    return ::testing::AssertionFailure() << "the folder browser did not close on OK";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult ToolProcess::CancelFolderBrowser(const std::wstring& prompt) const {
  HWND browser = nullptr;
  if (auto opened = OpenFolderBrowser(prompt, &browser); !opened) return opened;
  Press(GetDlgItem(browser, IDCANCEL));
  if (!WaitUntil([&] { return !IsWindow(browser); })) {
    return ::testing::AssertionFailure() << "the folder browser did not close on Cancel";
  }
  return ::testing::AssertionSuccess();
}

int IconOfMessageBox(HWND box) {
  HWND iconControl = nullptr;
  for (HWND child : Descendants(box)) {
    if (ClassOf(child) == L"Static" && (GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      iconControl = child;
    }
  }
  if (!iconControl || !IsWindowVisible(iconControl)) return 0;
  POINT corner{0, 0};
  ClientToScreen(iconControl, &corner);
  Pixels shown(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  if (!shown.CopyScreen(corner.x, corner.y)) return 0;
  const std::pair<const wchar_t*, int> candidates[] = {
      {IDI_HAND, MB_ICONHAND}, {IDI_EXCLAMATION, MB_ICONEXCLAMATION}, {IDI_ASTERISK, MB_ICONASTERISK},
      {IDI_QUESTION, MB_ICONQUESTION}};
  for (const auto& [resource, style] : candidates) {
    if (ShowsIcon(shown, LoadIconW(nullptr, resource))) return static_cast<int>(style);
  }
  return 0;
}

bool SaveScreenshot(HWND window, const std::wstring& pngPath) {
  RECT area{};
  if (!GetWindowRect(window, &area)) return false;
  Pixels shot(area.right - area.left, area.bottom - area.top);
  if (!shot.CopyScreen(area.left, area.top)) return false;
  for (int i = 0; i < shot.Width() * shot.Height(); ++i) shot.Bits()[i] |= 0xFF000000u;  // opaque

  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
  const UINT stride = static_cast<UINT>(shot.Width()) * 4;
  const bool saved =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                 reinterpret_cast<void**>(&factory))) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(pngPath.c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
      SUCCEEDED(frame->SetSize(shot.Width(), shot.Height())) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
      IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
      SUCCEEDED(frame->WritePixels(shot.Height(), stride, stride * shot.Height(),
                                   reinterpret_cast<BYTE*>(shot.Bits()))) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  ReleaseCom(options);
  ReleaseCom(frame);
  ReleaseCom(encoder);
  ReleaseCom(stream);
  ReleaseCom(factory);
  return saved;
}
