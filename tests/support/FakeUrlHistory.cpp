#include "FakeUrlHistory.h"

#include <shlwapi.h>
#include <urlhist.h>

namespace testkit {

struct FakeUrlHistory::State {
    FakeUrlHistory::Options options;
    int clearCalls = 0;
    bool cleared = false;
    long live = 0;
};

namespace {
// IUnknown of an object that answers to IUnknown and the interfaces listed; counted as live while
// it lives.
template <class Interface, const IID*... kIids>
class RefCounted : public Interface {
public:
    explicit RefCounted(FakeUrlHistory::State* s) : m_state(s) { ++m_state->live; }
    virtual ~RefCounted() { --m_state->live; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid != IID_IUnknown && ((riid != *kIids) && ...)) return *out = nullptr, E_NOINTERFACE;
        AddRef();
        *out = this;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        ULONG n = --m_refs;
        if (!n) delete this;
        return n;
    }

protected:
    FakeUrlHistory::State* m_state;
    ULONG m_refs = 1;
};

class Enumerator : public RefCounted<IEnumSTATURL, &IID_IEnumSTATURL> {
public:
    using RefCounted::RefCounted;
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, LPSTATURL rgelt, ULONG* fetched) override {
        const auto& urls = m_state->options.urls;
        if (fetched) *fetched = 0;
        if (celt != 1 || !rgelt) return E_INVALIDARG;
        if (m_state->cleared || m_next >= urls.size()) return S_FALSE;
        // As a history that checks the record's size: any other size is refused.
        if (rgelt->cbSize != sizeof(STATURL)) return E_INVALIDARG;
        const auto& url = urls[m_next++];
        // Copies in task memory, which the reader frees.
        rgelt->pwcsUrl = nullptr;
        if (url) ::SHStrDupW(url->c_str(), &rgelt->pwcsUrl);
        ::SHStrDupW(L"title", &rgelt->pwcsTitle);
        if (fetched) *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override { m_next += celt; return S_OK; }
    HRESULT STDMETHODCALLTYPE Reset() override { m_next = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumSTATURL**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetFilter(LPCOLESTR, DWORD) override { return E_NOTIMPL; }

private:
    size_t m_next = 0;
};

class History : public RefCounted<IUrlHistoryStg2, &IID_IUrlHistoryStg, &IID_IUrlHistoryStg2> {
public:
    using RefCounted::RefCounted;
    HRESULT STDMETHODCALLTYPE AddUrl(LPCOLESTR, LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteUrl(LPCOLESTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryUrl(LPCOLESTR, DWORD, LPSTATURL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE BindToObject(LPCOLESTR, REFIID, void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumUrls(IEnumSTATURL** out) override {
        *out = new Enumerator(m_state);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE AddUrlAndNotify(LPCOLESTR, LPCOLESTR, DWORD, WINBOOL, IOleCommandTarget*,
                                              IUnknown*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ClearHistory() override {
        ++m_state->clearCalls;
        if (SUCCEEDED(m_state->options.clearResult)) m_state->cleared = true;
        return m_state->options.clearResult;
    }
};

// Held by COM until the registration ends.
class Factory : public RefCounted<IClassFactory, &IID_IClassFactory> {
public:
    using RefCounted::RefCounted;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        if (FAILED(m_state->options.createResult)) return m_state->options.createResult;
        auto* h = new History(m_state);
        HRESULT hr = h->QueryInterface(riid, out);
        h->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
}  // namespace

FakeUrlHistory::FakeUrlHistory(Options options) : m_state(new State{std::move(options)}) {
    auto* factory = new Factory(m_state);
    ::CoRegisterClassObject(CLSID_CUrlHistory, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
    factory->Release();  // COM holds it from here until the registration ends
}

FakeUrlHistory::~FakeUrlHistory() {
    ::CoRevokeClassObject(m_cookie);
    // Objects still alive (the factory is released by now) would point at freed state: keep it then,
    // as a leak that a test reports.
    if (m_state->live == 0) delete m_state;
}

int FakeUrlHistory::ClearCalls() const { return m_state->clearCalls; }
long FakeUrlHistory::LiveObjects() const { return m_state->live - 1; }  // all but the registered factory

}  // namespace testkit
