#include "vetter/identity/vtrx_client.h"

#include "vetter/api/com_ptr.h"

#include <objbase.h>
#include <oleauto.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace vetter {

namespace {

// {00000323-0000-0000-C000-000000000046}: the process's global interface table.
const CLSID kStdGlobalInterfaceTable = {
    0x00000323, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// {00000146-0000-0000-C000-000000000046}: IGlobalInterfaceTable.
const IID kIGlobalInterfaceTable = {
    0x00000146, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr LCID kCallLocale = 0x400;

class ScopedLock {
  public:
    explicit ScopedLock(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
    ~ScopedLock() { LeaveCriticalSection(&cs_); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

  private:
    CRITICAL_SECTION& cs_;
};

// A one-dimensional byte array the caller owns; the service may replace it.
class ByteArray {
  public:
    // SafeArrayCreate, not SafeArrayCreateVector: Wine's marshaller resizes
    // an answer array in place, which corrupts the heap for a vector whose
    // data shares the descriptor's block.
    explicit ByteArray(const std::vector<uint8_t>& bytes) {
        SAFEARRAYBOUND bound = {ULONG(bytes.size()), 0};
        array_ = SafeArrayCreate(VT_UI1, 1, &bound);
        void* p = nullptr;
        if (array_ && !bytes.empty() && SUCCEEDED(SafeArrayAccessData(array_, &p))) {
            std::memcpy(p, bytes.data(), bytes.size());
            SafeArrayUnaccessData(array_);
        }
    }
    ~ByteArray() {
        if (array_) SafeArrayDestroy(array_);
    }
    ByteArray(const ByteArray&) = delete;
    ByteArray& operator=(const ByteArray&) = delete;
    SAFEARRAY** ref() { return &array_; }
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out;
        if (!array_ || SafeArrayGetDim(array_) != 1) return out;
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(array_, 1, &lo);
        SafeArrayGetUBound(array_, 1, &hi);
        void* p = nullptr;
        if (hi >= lo && SafeArrayGetElemsize(array_) == 1 &&
            SUCCEEDED(SafeArrayAccessData(array_, &p))) {
            out.assign(static_cast<uint8_t*>(p), static_cast<uint8_t*>(p) + (hi - lo + 1));
            SafeArrayUnaccessData(array_);
        }
        return out;
    }

  private:
    SAFEARRAY* array_ = nullptr;
};

void I2(VARIANT& v, uint32_t field) {
    v.vt = VT_I2;
    v.iVal = SHORT(uint16_t(field));
}

ComPtr<IGlobalInterfaceTable> InterfaceTable() {
    ComPtr<IGlobalInterfaceTable> git;
    CoCreateInstance(kStdGlobalInterfaceTable, nullptr, CLSCTX_INPROC_SERVER,
                     kIGlobalInterfaceTable, git.receiveVoid());
    return git;
}

// The base name of the host program: no folder, no extension.
void HostBaseName(char* out, size_t size) {
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    if (n == 0 || n >= sizeof path) return;
    const char* base = std::strrchr(path, '\\');
    base = base ? base + 1 : path;
    std::string name = base;
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    std::strncpy(out, name.c_str(), size - 1);
    out[size - 1] = '\0';
}

// Tests shorten the 10-second state wait; the shipped build has no seam.
unsigned StateWaitMs() {
#ifdef VETTER_TEST_SEAMS
    if (const char* ms = std::getenv("VETTER_TEST_VTRX_WAIT_MS")) return unsigned(std::atoi(ms));
#endif
    return vtrx::kStateWaitMs;
}

} // namespace

VtrxClient::VtrxClient() {
    InitializeCriticalSection(&lock_);
    for (DISPID& id : ids_)
        id = DISPID_UNKNOWN;
    // Looked up as the service's client always has; call cancellation is
    // never enabled, so calls wait for the service without a time-out.
    ole32_.reset(LoadLibraryA("OLE32.dll"));
    const char* const names[4] = {"CoEnableCallCancellation", "CoDisableCallCancellation",
                                  "CoGetCancelObject", "CoCancelCall"};
    for (int i = 0; i < 4; ++i)
        callCancellation_[i] = ole32_ ? GetProcAddress(ole32_.get(), names[i]) : nullptr;
    waitMs_ = StateWaitMs();
}

VtrxClient::~VtrxClient() {
    Disconnect();
    // A thread that connected but never registered (creation failed) still
    // balances its COM initialisation here.
    ReleaseThreadCom();
    DeleteCriticalSection(&lock_);
}

void VtrxClient::InitThreadCom() {
    DWORD thread = GetCurrentThreadId();
    if (threadCom_.count(thread)) return;
    threadCom_[thread] = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
}

void VtrxClient::ReleaseThreadCom() {
    auto it = threadCom_.find(GetCurrentThreadId());
    if (it == threadCom_.end()) return;
    if (it->second == S_OK || it->second == S_FALSE) CoUninitialize();
    threadCom_.erase(it);
}

void VtrxClient::SetClientName(const char* name) {
    ScopedLock lock(lock_);
    std::strncpy(clientName_, name ? name : "", sizeof clientName_ - 1);
}

bool VtrxClient::ConnectTo(const wchar_t* server) {
    ScopedLock lock(lock_);
    if (!clientName_[0]) HostBaseName(clientName_, sizeof clientName_);
    InitThreadCom();
    if (Connected()) return true;
    // Fails where security was set before; the service is reached either way.
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_CONNECT,
                         RPC_C_IMP_LEVEL_IDENTIFY, nullptr, EOAC_NONE, nullptr);
    if (server && *server) {
        wcsncpy(serverName_, server, 259);
        serverName_[259] = L'\0';
    }
    COSERVERINFO info = {};
    info.pwszName = serverName_;
    CLSID clsid;
    wchar_t clsidText[64];
    MultiByteToWideChar(CP_ACP, 0, vtrx::kServiceClsid, -1, clsidText, 64);
    lastHr_ = CLSIDFromString(clsidText, &clsid);
    if (FAILED(lastHr_)) return false;
    MULTI_QI qi = {&IID_IDispatch, nullptr, S_OK};
    lastHr_ = CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER,
                                 serverName_[0] ? &info : nullptr, 1, &qi);
    if (SUCCEEDED(lastHr_)) lastHr_ = qi.hr;
    ComPtr<IDispatch> direct(SUCCEEDED(lastHr_) ? static_cast<IDispatch*>(qi.pItf) : nullptr);
    if (!direct) {
        if (qi.pItf) qi.pItf->Release();
        return false;
    }
    ComPtr<IGlobalInterfaceTable> git = InterfaceTable();
    if (!git) return false;
    DWORD cookie = 0;
    lastHr_ = git->RegisterInterfaceInGlobal(direct.get(), IID_IDispatch, &cookie);
    if (FAILED(lastHr_)) return false;
    cookie_ = cookie;
    registeringThread_ = GetCurrentThreadId();
    for (int slot = 0; slot < vtrx::kMemberCount; ++slot) {
        ids_[slot] = DISPID_UNKNOWN;
        const char* name = vtrx::kMemberNames[slot];
        if (!*name) continue;
        wchar_t wide[64];
        MultiByteToWideChar(CP_ACP, 0, name, -1, wide, 64);
        LPOLESTR names[1] = {wide};
        DISPID id = DISPID_UNKNOWN;
        if (SUCCEEDED(direct->GetIDsOfNames(IID_NULL, names, 1, LOCALE_SYSTEM_DEFAULT, &id)))
            ids_[slot] = id;
    }
    direct.reset();
    if (clientName_[0] && ids_[vtrx::kClientName] != DISPID_UNKNOWN) {
        ComPtr<IDispatch> service(FetchDispatch());
        if (service) {
            wchar_t wide[256];
            MultiByteToWideChar(CP_ACP, 0, clientName_, -1, wide, 256);
            VARIANT name;
            VariantInit(&name);
            name.vt = VT_BSTR;
            name.bstrVal = SysAllocString(wide);
            DISPID put = DISPID_PROPERTYPUT;
            DISPPARAMS params = {&name, &put, 1, 1};
            Invoke(service.get(), ids_[vtrx::kClientName], DISPATCH_PROPERTYPUT, &params, nullptr);
            VariantClear(&name);
        }
    }
    lastHr_ = S_OK;
    return true;
}

void VtrxClient::Disconnect() {
    ScopedLock lock(lock_);
    if (!Connected() || GetCurrentThreadId() != registeringThread_) return;
    ComPtr<IGlobalInterfaceTable> git = InterfaceTable();
    if (git) git->RevokeInterfaceFromGlobal(cookie_);
    cookie_ = 0;
    registeringThread_ = 0;
    ReleaseThreadCom();
}

IDispatch* VtrxClient::FetchDispatch() {
    if (!Connected()) return nullptr;
    ComPtr<IGlobalInterfaceTable> git = InterfaceTable();
    if (!git) return nullptr;
    IDispatch* service = nullptr;
    lastHr_ =
        git->GetInterfaceFromGlobal(cookie_, IID_IDispatch, reinterpret_cast<void**>(&service));
    return SUCCEEDED(lastHr_) ? service : nullptr;
}

bool VtrxClient::Invoke(IDispatch* service, DISPID id, WORD flags, DISPPARAMS* params,
                        VARIANT* result) {
    lastHr_ = service->Invoke(id, IID_NULL, kCallLocale, flags, params, result, nullptr, nullptr);
    return lastHr_ == S_OK;
}

bool VtrxClient::ReadCabinetProperty(uint16_t* number) {
    ScopedLock lock(lock_);
    InitThreadCom();
    if (ids_[vtrx::kServerCabinetNumber] == DISPID_UNKNOWN) return false;
    ComPtr<IDispatch> service(FetchDispatch());
    if (!service) return false;
    VARIANT result;
    VariantInit(&result);
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    bool ok = Invoke(service.get(), ids_[vtrx::kServerCabinetNumber], DISPATCH_PROPERTYGET, &none,
                     &result) &&
              result.vt == VT_I2;
    if (ok) *number = uint16_t(result.iVal);
    VariantClear(&result);
    return ok;
}

bool VtrxClient::SendCmdRequest(IDispatch* service, vtrx::VtrxRequest& request, int16_t intArg) {
    ByteArray header(request.HeaderBytes());
    ByteArray data(request.Data());
    VARIANT args[3];
    for (VARIANT& v : args)
        VariantInit(&v);
    // Arguments travel last first.
    args[2].vt = VT_BYREF | VT_ARRAY | VT_UI1;
    args[2].pparray = header.ref();
    args[1].vt = VT_BYREF | VT_ARRAY | VT_UI1;
    args[1].pparray = data.ref();
    args[0].vt = VT_I2;
    args[0].iVal = intArg;
    DISPPARAMS params = {args, nullptr, 3, 0};
    if (!Invoke(service, ids_[vtrx::kCmdRequest], DISPATCH_METHOD, &params, nullptr)) return false;
    std::vector<uint8_t> h = header.Bytes(), d = data.Bytes();
    vtrx::ApplyCmdRequestAnswer(request, h.data(), h.size(), d.data(), d.size());
    return true;
}

bool VtrxClient::SendVCRequest(IDispatch* service, vtrx::VtrxRequest& request, int16_t intArg,
                               bool ex) {
    vtrx::Header f = request.Fields();
    ByteArray data(request.Data());
    BYTE status = BYTE(f.status);
    BYTE flags = vtrx::PackFlags(f.flagsA, f.flagsB);
    VARIANT all[8];
    for (VARIANT& v : all)
        VariantInit(&v);
    const UINT n = ex ? 8 : 7;
    VARIANT* arg = all + (8 - n);
    I2(arg[n - 1], f.command);
    I2(arg[n - 2], f.object);
    I2(arg[n - 3], f.index);
    I2(arg[n - 4], f.cabinet);
    arg[n - 5].vt = VT_BYREF | VT_ARRAY | VT_UI1;
    arg[n - 5].pparray = data.ref();
    arg[n - 6].vt = VT_BYREF | VT_UI1;
    arg[n - 6].pbVal = &status;
    arg[n - 7].vt = VT_I2;
    arg[n - 7].iVal = intArg;
    if (ex) {
        arg[0].vt = VT_BYREF | VT_UI1;
        arg[0].pbVal = &flags;
    }
    DISPPARAMS params = {arg, nullptr, n, 0};
    DISPID id = ids_[ex ? vtrx::kVCRequestEx : vtrx::kVCRequest];
    if (!Invoke(service, id, DISPATCH_METHOD, &params, nullptr)) return false;
    std::vector<uint8_t> d = data.Bytes();
    vtrx::ApplyVCRequestAnswer(request, status, flags, d.data(), d.size());
    return true;
}

bool VtrxClient::Send(vtrx::VtrxRequest& request) {
    ScopedLock lock(lock_);
    std::vector<uint8_t> header = request.HeaderBytes();
    if (header.size() < vtrx::kHeaderSize || !vtrx::HasMagic(header.data(), header.size()))
        return false;
    request.SetFlags(0, 0);
    if (!Connected()) return false;
    InitThreadCom();
    vtrx::RequestMember member = vtrx::ChooseMember(ids_[vtrx::kCmdRequest] != DISPID_UNKNOWN,
                                                    ids_[vtrx::kVCRequestEx] != DISPID_UNKNOWN,
                                                    ids_[vtrx::kVCRequest] != DISPID_UNKNOWN);
    if (member == vtrx::RequestMember::None) return false;
    ComPtr<IDispatch> service(FetchDispatch());
    if (!service) return false;
    // The answer is copied back only from a call that succeeded, so a failed
    // one leaves the header as sent (status 22, not a success).
    bool ok = vtrx::InvokeRepeating(request, 0, 0, [&](int16_t intArg) {
        switch (member) {
        case vtrx::RequestMember::CmdRequest:
            return SendCmdRequest(service.get(), request, intArg);
        case vtrx::RequestMember::VCRequestEx:
            return SendVCRequest(service.get(), request, intArg, true);
        default:
            return SendVCRequest(service.get(), request, intArg, false);
        }
    });
    return ok && lastHr_ == S_OK;
}

void VtrxClient::WaitStateStep() {
    Sleep(waitMs_);
}

} // namespace vetter
