#pragma once
// VtrxClient: the management service reached through late-bound IDispatch,
// registered in the global interface table so any thread may use it.
#include "core/vetter/identity/vtrx_query.h"

#include "stub/util/handles.h"

#include <windows.h>

#include <oaidl.h>

#include <map>

namespace vetter {

class VtrxClient : public vtrx::VtrxSession {
  public:
    VtrxClient();
    ~VtrxClient() override;
    VtrxClient(const VtrxClient&) = delete;
    VtrxClient& operator=(const VtrxClient&) = delete;

    bool Connect() override { return ConnectTo(nullptr); }
    // A null or empty name uses the stored one (empty: the local machine).
    bool ConnectTo(const wchar_t* server);
    void Disconnect() override;
    bool ReadCabinetProperty(uint16_t* number) override;
    bool Send(vtrx::VtrxRequest& request) override;
    void WaitStateStep() override;
    void SetClientName(const char* name);
    HRESULT LastResult() const { return lastHr_; }

  private:
    bool Connected() const { return cookie_ != 0; }
    void InitThreadCom();
    void ReleaseThreadCom();
    // The registered interface for the calling thread; null when not connected.
    IDispatch* FetchDispatch();
    bool Invoke(IDispatch* service, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result);
    bool SendCmdRequest(IDispatch* service, vtrx::VtrxRequest& request, int16_t intArg);
    bool SendVCRequest(IDispatch* service, vtrx::VtrxRequest& request, int16_t intArg, bool ex);

    win::Module ole32_;
    FARPROC callCancellation_[4] = {};
    char clientName_[256] = {};
    wchar_t serverName_[260] = {};
    DWORD cookie_ = 0;
    DWORD registeringThread_ = 0;
    DISPID ids_[vtrx::kMemberCount];
    HRESULT lastHr_ = S_OK;
    std::map<DWORD, HRESULT> threadCom_;
    CRITICAL_SECTION lock_;
    unsigned waitMs_ = vtrx::kStateWaitMs;
};

} // namespace vetter
