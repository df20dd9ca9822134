#pragma once

#include "gateway_query.h"
#include "money.h"
#include "records.h"
#include "reply.h"
#include "storage.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace server {

struct GatewaySettings {
    // The token every toolbar build sends as "hash".
    std::string clientToken;
    Hundredths pricePerPart = 0;
    // A portal session lives this long after its last use.
    std::chrono::seconds sessionTtl{1800};
};

// The gateway protocol: checks a request's client, token and signature, carries out its action
// on the storage and words the reply.
class Gateway {
public:
    enum class Api {
        Account, // "api/app_api.xp", every request signed with the password digest
        Portal,  // "api/rapi.xp", portal sign-in and session check
    };

    Gateway(Storage& storage, GatewaySettings settings);

    // The interface a request path names; nothing for any other path.
    static std::optional<Api> ApiOf(std::string_view path);

    // Never throws: every failure, a storage fault included, is answered as a refusal.
    Reply Answer(Api api, const GatewayQuery& query);

    // The account of a live portal visit, whose lifetime starts anew; nothing for an unknown or
    // expired one.
    std::optional<Account> Visit(std::string_view sid);

private:
    Reply Dispatch(Api api, const GatewayQuery& query);
    Account Authenticate(const GatewayQuery& query, std::string_view action);

    Reply Info(const GatewayQuery& query);
    Reply Send(const GatewayQuery& query);
    Reply AddrList(const GatewayQuery& query);
    Reply AddrAdd(const GatewayQuery& query);
    Reply AddrEdit(const GatewayQuery& query);
    Reply AddrDel(const GatewayQuery& query);
    Reply PortalInfo(const GatewayQuery& query);
    Reply InfoLogin(const GatewayQuery& query);

    Storage& storage_;
    GatewaySettings settings_;
};

} // namespace server
