// The frame window's registration as a drop target: the editor takes no files, so every
// drag over it is refused.
#pragma once

#include <ole2.h>

class CWin32DropTarget : public IDropTarget {
  public:
    /// Created with one reference, which the creator releases.
    CWin32DropTarget() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL where,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL where, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL where,
                                   DWORD* effect) override;

  private:
    virtual ~CWin32DropTarget() = default;

    ULONG references = 1;
};
