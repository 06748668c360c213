#include "testing/vtrx-sim/service.h"

#include "core/vetter/identity/vtrx_query.h"
#include "core/vetter/identity/vtrx_record.h"
#include "testing/vtrx-sim/script.h"

#include <array>
#include <cstdio>
#include <new>
#include <string>
#include <vector>

namespace vtrxsim {

namespace {

LONG live = 0;
volatile DWORD lastRelease = 0;

// Dispatch identifiers are the member slots plus one.
DISPID IdOf(int slot) {
    return DISPID(slot + 1);
}

std::string Narrow(const wchar_t* w) {
    if (!w) return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_ACP, 0, w, -1, &s[0], n, nullptr, nullptr);
    return s;
}

std::vector<uint8_t> ArrayBytes(SAFEARRAY* a) {
    std::vector<uint8_t> out;
    if (!a || SafeArrayGetDim(a) != 1) return out;
    LONG lo = 0, hi = -1;
    SafeArrayGetLBound(a, 1, &lo);
    SafeArrayGetUBound(a, 1, &hi);
    if (hi < lo) return out;
    void* p = nullptr;
    if (FAILED(SafeArrayAccessData(a, &p))) return out;
    out.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + (hi - lo + 1));
    SafeArrayUnaccessData(a);
    return out;
}

SAFEARRAY* NewArray(const std::vector<uint8_t>& bytes) {
    SAFEARRAY* a = SafeArrayCreateVector(VT_UI1, 0, ULONG(bytes.size()));
    if (!a) return nullptr;
    void* p = nullptr;
    if (!bytes.empty() && SUCCEEDED(SafeArrayAccessData(a, &p))) {
        memcpy(p, bytes.data(), bytes.size());
        SafeArrayUnaccessData(a);
    }
    return a;
}

bool IsByteStringRef(const VARIANT& v) {
    return v.vt == (VT_BYREF | VT_ARRAY | VT_UI1) && v.pparray;
}

struct Answer {
    uint32_t status = vtrx::kStatusPreset;
    std::vector<uint8_t> data;
};

class Service : public IDispatch {
  public:
    Service() : script_(LoadScript()) {
        InterlockedIncrement(&live);
        LogLine("create");
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        LONG n = InterlockedDecrement(&refs_);
        if (n == 0) {
            LogLine("release");
            delete this;
            lastRelease = GetTickCount();
            InterlockedDecrement(&live);
        }
        return ULONG(n);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
        if (n) *n = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** t) override {
        if (t) *t = nullptr;
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (!names || !ids) return E_POINTER;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            std::string name = Narrow(names[i]);
            ids[i] = DISPID_UNKNOWN;
            for (int slot = 0; slot < vtrx::kMemberCount; ++slot) {
                const char* m = vtrx::kMemberNames[slot];
                if (*m && lstrcmpiA(m, name.c_str()) == 0 && script_.offered.count(m)) {
                    ids[i] = IdOf(slot);
                }
            }
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
            LogLine("names " + name + " " + std::to_string(long(ids[i])));
        }
        return hr;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* p,
                                     VARIANT* result, EXCEPINFO*, UINT* argErr) override {
        if (!p) return E_POINTER;
        char lc[16];
        std::snprintf(lc, sizeof lc, "%04lX", static_cast<unsigned long>(lcid));
        if (id == IdOf(vtrx::kCmdRequest)) return CmdRequest(p, lc);
        if (id == IdOf(vtrx::kVCRequestEx)) return VCRequest(p, lc, true);
        if (id == IdOf(vtrx::kVCRequest)) return VCRequest(p, lc, false);
        if (id == IdOf(vtrx::kServerCabinetNumber) && (flags & DISPATCH_PROPERTYGET)) {
            return CabinetNumber(result, lc);
        }
        if (id == IdOf(vtrx::kClientName) && (flags & DISPATCH_PROPERTYPUT)) {
            if (p->cArgs != 1 || p->rgvarg[0].vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
            LogLine(std::string("put ClientName=") + Narrow(p->rgvarg[0].bstrVal) + " lcid=" + lc);
            return S_OK;
        }
        if (id >= 1 && id <= vtrx::kMemberCount) {
            LogLine(std::string("call ") + vtrx::kMemberNames[id - 1] + " lcid=" + lc);
            return S_OK;
        }
        return DISP_E_MEMBERNOTFOUND;
    }

  private:
    Answer AnswerFor(uint32_t command, uint32_t object) {
        Answer a;
        if (requests_++ < script_.status15) {
            a.status = vtrx::kStatusRepeat;
            return a;
        }
        if (command == vtrx::kCmdServerState) {
            size_t i =
                stateIndex_ < script_.states.size() ? stateIndex_ : script_.states.size() - 1;
            ++stateIndex_;
            int state = script_.states[i];
            if (state >= 0) {
                a.status = 0;
                a.data.push_back(uint8_t(state));
            }
        } else if (command == vtrx::kCmdGetValue) {
            auto it = script_.values.find(object);
            if (it != script_.values.end()) {
                a.status = 0;
                a.data.assign(it->second.begin(), it->second.end());
            } else {
                a.status = 5;
            }
        } else if (command == vtrx::kCmdCabinetNumber) {
            a.status = script_.fallbackStatus;
            a.data = script_.fallbackData;
        } else {
            a.status = 7;
        }
        return a;
    }

    HRESULT CmdRequest(DISPPARAMS* p, const char* lc) {
        if (p->cArgs != 3) return DISP_E_BADPARAMCOUNT;
        VARIANT& header = p->rgvarg[2];
        VARIANT& data = p->rgvarg[1];
        VARIANT& number = p->rgvarg[0];
        if (!IsByteStringRef(header) || data.vt != (VT_BYREF | VT_ARRAY | VT_UI1) ||
            number.vt != VT_I2) {
            LogLine("call CmdRequest type mismatch");
            return DISP_E_TYPEMISMATCH;
        }
        std::vector<uint8_t> h = ArrayBytes(*header.pparray);
        std::vector<uint8_t> d = data.pparray ? ArrayBytes(*data.pparray) : std::vector<uint8_t>();
        LogLine("call CmdRequest header=" + Hex(h.data(), h.size()) + " data=" +
                Hex(d.data(), d.size()) + " int=" + std::to_string(number.iVal) + " lcid=" + lc);
        vtrx::Header fields;
        if (!vtrx::DecodeHeader(h.data(), h.size(), &fields)) return E_INVALIDARG;
        Answer a = AnswerFor(fields.command, fields.object);
        fields.status = a.status;
        fields.dataLength = uint32_t(a.data.size());
        fields.flagsA = 0;
        fields.flagsB = 0;
        std::array<uint8_t, vtrx::kHeaderSize> out = vtrx::EncodeHeader(fields);
        SafeArrayDestroy(*header.pparray);
        *header.pparray = NewArray(std::vector<uint8_t>(out.begin(), out.end()));
        if (data.pparray) {
            if (*data.pparray) SafeArrayDestroy(*data.pparray);
            *data.pparray = NewArray(a.data);
        }
        return S_OK;
    }

    HRESULT VCRequest(DISPPARAMS* p, const char* lc, bool ex) {
        UINT n = ex ? 8 : 7;
        const char* name = ex ? "VCRequestEx" : "VCRequest";
        if (p->cArgs != n) return DISP_E_BADPARAMCOUNT;
        // rgvarg holds the arguments last first.
        VARIANT* arg = p->rgvarg;
        VARIANT& command = arg[n - 1];
        VARIANT& object = arg[n - 2];
        VARIANT& index = arg[n - 3];
        VARIANT& cabinet = arg[n - 4];
        VARIANT& data = arg[n - 5];
        VARIANT& status = arg[n - 6];
        VARIANT& number = arg[n - 7];
        bool typesOk = command.vt == VT_I2 && object.vt == VT_I2 && index.vt == VT_I2 &&
                       cabinet.vt == VT_I2 && data.vt == (VT_BYREF | VT_ARRAY | VT_UI1) &&
                       status.vt == (VT_BYREF | VT_UI1) && status.pbVal && number.vt == VT_I2;
        if (ex) typesOk = typesOk && arg[0].vt == (VT_BYREF | VT_UI1) && arg[0].pbVal;
        if (!typesOk) {
            LogLine(std::string("call ") + name + " type mismatch");
            return DISP_E_TYPEMISMATCH;
        }
        std::vector<uint8_t> d = data.pparray ? ArrayBytes(*data.pparray) : std::vector<uint8_t>();
        char line[512];
        std::snprintf(line, sizeof line,
                      "call %s command=%04X object=%04X index=%u cabinet=%u data=%s status=%u "
                      "int=%d",
                      name, unsigned(uint16_t(command.iVal)), unsigned(uint16_t(object.iVal)),
                      unsigned(uint16_t(index.iVal)), unsigned(uint16_t(cabinet.iVal)),
                      Hex(d.data(), d.size()).c_str(), unsigned(*status.pbVal), int(number.iVal));
        std::string text = line;
        if (ex) text += " flags=" + std::to_string(unsigned(*arg[0].pbVal));
        LogLine(text + " lcid=" + lc);
        Answer a = AnswerFor(uint16_t(command.iVal), uint16_t(object.iVal));
        *status.pbVal = uint8_t(a.status);
        if (ex) *arg[0].pbVal = 0;
        if (data.pparray) {
            if (*data.pparray) SafeArrayDestroy(*data.pparray);
            *data.pparray = NewArray(a.data);
        }
        return S_OK;
    }

    HRESULT CabinetNumber(VARIANT* result, const char* lc) {
        LogLine(std::string("get ServerCabinetNumber lcid=") + lc);
        if (!result) return E_POINTER;
        VariantInit(result);
        switch (script_.cabinetType) {
        case Script::CabinetType::I2:
            result->vt = VT_I2;
            result->iVal = SHORT(script_.cabinet);
            return S_OK;
        case Script::CabinetType::I4:
            result->vt = VT_I4;
            result->lVal = script_.cabinet;
            return S_OK;
        default:
            return E_FAIL;
        }
    }

    LONG refs_ = 1;
    Script script_;
    size_t stateIndex_ = 0;
    int requests_ = 0;
};

class Factory : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The factory lives as long as the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Service* s = new (std::nothrow) Service();
        if (!s) return E_OUTOFMEMORY;
        HRESULT hr = s->QueryInterface(riid, out);
        s->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) {
            InterlockedIncrement(&live);
        } else {
            InterlockedDecrement(&live);
            lastRelease = GetTickCount();
        }
        return S_OK;
    }
};

Factory factory;

} // namespace

LONG LiveCount() {
    return InterlockedCompareExchange(&live, 0, 0);
}

DWORD LastRelease() {
    return lastRelease;
}

IClassFactory* NewFactory() {
    return &factory;
}

} // namespace vtrxsim
