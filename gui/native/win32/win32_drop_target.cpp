#include "gui/native/win32/win32_drop_target.h"

HRESULT STDMETHODCALLTYPE CWin32DropTarget::QueryInterface(REFIID id, void** object) {
    if (!object) {
        return E_POINTER;
    }
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
        *object = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CWin32DropTarget::AddRef() {
    return ++references;
}

ULONG STDMETHODCALLTYPE CWin32DropTarget::Release() {
    const ULONG left = --references;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT STDMETHODCALLTYPE CWin32DropTarget::DragEnter(IDataObject*, DWORD, POINTL, DWORD* effect) {
    return DragOver(0, POINTL{}, effect);
}

HRESULT STDMETHODCALLTYPE CWin32DropTarget::DragOver(DWORD, POINTL, DWORD* effect) {
    if (effect) {
        *effect = DROPEFFECT_NONE;
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CWin32DropTarget::DragLeave() {
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CWin32DropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD* effect) {
    return DragOver(0, POINTL{}, effect);
}
