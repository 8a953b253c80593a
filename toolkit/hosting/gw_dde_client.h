// The DDE client conversation with another program (the outside plot tool).
// On this platform no program serves DDE, so a connection never comes about
// and callers take their fall-back path; tests install a server of their own.
#pragma once

#include <string>

// A program that answers conversations; tests install one.
class GwDdeServer {
public:
    virtual ~GwDdeServer() = default;
    // Whether a conversation with this service and topic comes about.
    virtual bool Connect(const std::string& service, const std::string& topic) = 0;
    // Runs a command of a connected conversation; its result.
    virtual bool Execute(const std::string& command) = 0;
    virtual void Disconnect() {}
};

// Installs the server conversations reach (not owned); null: none.
void GwSetDdeServer(GwDdeServer* server);

class GwDdeClient {
public:
    GwDdeClient() = default;
    ~GwDdeClient() { disconnect(); }
    GwDdeClient(const GwDdeClient&) = delete;
    GwDdeClient& operator=(const GwDdeClient&) = delete;

    bool connect(const std::string& service, const std::string& topic);
    bool is_connected() const { return server_ != nullptr; }
    // False when not connected or the server refuses the command.
    bool execute(const std::string& command);
    void disconnect();

private:
    GwDdeServer* server_ = nullptr;
};
