#include "base/win/text_drag.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>

#include "base/win/handles.h"

namespace zurimo {
namespace {

constexpr DWORD kDragDelayMs = 200;

class TextDataObject : public IDataObject {
public:
    TextDataObject(HGLOBAL block, HGLOBAL wideBlock) : block_(block), wideBlock_(wideBlock) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) {
            *out = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        HRESULT ok = QueryGetData(format);
        if (ok != S_OK) return ok;
        HGLOBAL block = format->cfFormat == CF_UNICODETEXT ? wideBlock_ : block_;
        SIZE_T size = GlobalSize(block);
        UniqueHGlobal copy(GlobalAlloc(GMEM_MOVEABLE, size));
        if (!copy) return E_OUTOFMEMORY;
        {
            GlobalLockGuard to(copy.get());
            GlobalLockGuard from(block);
            if (!to || !from) return E_OUTOFMEMORY;
            std::memcpy(to.get(), from.get(), size);
        }
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = copy.release();  // the receiver's now
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        if (format->cfFormat != CF_TEXT && !(format->cfFormat == CF_UNICODETEXT && wideBlock_)) {
            return DV_E_FORMATETC;
        }
        if (!(format->tymed & TYMED_HGLOBAL)) return DV_E_TYMED;
        if (format->dwAspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return DATA_S_SAMEFORMATETC;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD direction, IEnumFORMATETC** out) override {
        if (direction != DATADIR_GET) return E_NOTIMPL;
        // The richer format first, for a target that takes the first one it knows.
        FORMATETC formats[] = {{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL},
                               {CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}};
        return wideBlock_ ? SHCreateStdEnumFmtEtc(2, formats, out)
                          : SHCreateStdEnumFmtEtc(1, formats + 1, out);
    }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }

private:
    HGLOBAL block_;
    HGLOBAL wideBlock_;
    ULONG refs_ = 1;
};

class CopyDropSource : public IDropSource {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *out = static_cast<IDropSource*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the stack

    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override {
        if (escape || (keys & (MK_RBUTTON | MK_MBUTTON))) return DRAGDROP_S_CANCEL;
        if (!(keys & MK_LBUTTON)) return DRAGDROP_S_DROP;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override {
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

private:
    ULONG refs_ = 1;
};

}  // namespace

bool WaitForDragStart(HWND hwnd, POINT screenPoint) {
    int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    RECT area = {screenPoint.x - cx, screenPoint.y - cy, screenPoint.x + cx + 1,
                 screenPoint.y + cy + 1};
    DWORD start = GetTickCount();
    SetCapture(hwnd);
    bool drag = false;
    for (;;) {
        if (GetCapture() != hwnd) break;
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (msg.message == WM_MOUSEMOVE) {
                if (!PtInRect(&area, msg.pt)) {
                    drag = true;
                    break;
                }
                continue;
            }
            if (msg.message == WM_LBUTTONUP || msg.message == WM_RBUTTONDOWN ||
                msg.message == WM_MBUTTONDOWN ||
                (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)) {
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        DWORD waited = GetTickCount() - start;
        if (waited >= kDragDelayMs) {
            drag = (GetAsyncKeyState(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON) & 0x8000) != 0;
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kDragDelayMs - waited, QS_ALLINPUT);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    return drag;
}

bool DragText(HGLOBAL block, HGLOBAL wideBlock) {
    TextDataObject data(block, wideBlock);
    CopyDropSource source;
    DWORD effect = DROPEFFECT_NONE;
    HRESULT result = DoDragDrop(&data, &source, DROPEFFECT_COPY, &effect);
    return result == DRAGDROP_S_DROP && (effect & DROPEFFECT_COPY);
}

}  // namespace zurimo
