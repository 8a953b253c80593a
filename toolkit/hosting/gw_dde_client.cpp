#include "toolkit/hosting/gw_dde_client.h"

#include "platform/base/reset_hooks.h"

namespace {

GwDdeServer*& Server() {
    static GwDdeServer* server = nullptr;
    return server;
}

platform::ResetHook ResetState([] { Server() = nullptr; });

}  // namespace

void GwSetDdeServer(GwDdeServer* server) { Server() = server; }

bool GwDdeClient::connect(const std::string& service, const std::string& topic) {
    disconnect();
    GwDdeServer* server = Server();
    if (server == nullptr || !server->Connect(service, topic)) return false;
    server_ = server;
    return true;
}

bool GwDdeClient::execute(const std::string& command) { return server_ != nullptr && server_->Execute(command); }

void GwDdeClient::disconnect() {
    if (server_ == nullptr) return;
    // The server may have been taken away meanwhile (a test's reset).
    if (server_ == Server()) server_->Disconnect();
    server_ = nullptr;
}
