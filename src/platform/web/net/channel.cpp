// Online play in a browser page (and in the simulator under Node): no UDP, so ENet's sockets are
// WebSockets to the lobby server (net/enet_channel.cpp), one binary message a datagram. The
// server's URL is the page's choice (Module.pomrinLobbyUrl, see pre.js); without one (Node) it is
// ws://HOST:PORT/ of the lobby the game was given.
#include <emscripten.h>

#include "platform/plat_net.h"
#include "platform/web/net/web_net.h"

namespace {

uint32_t g_dwSleepMs;
int g_nOpen;  // channels open now

}  // namespace

// The channels live on the JavaScript side. A channel reconnects at a later send when its
// WebSocket closed (at most every 2 s); messages waiting for the connection are kept up to 64,
// messages received up to 512, and a send is dropped while 64 KB wait to go out: what a full
// UDP buffer would do.
EM_JS(int, WebChannelOpen, (const char* szHost, int nPort), {
    if (!Module.pomrinChannel) {
        Module.pomrinChannels = [];
        Module.pomrinChannel = function(ch) {
            if (ch.ws && ch.ws.readyState < 2) return;
            var now = Date.now();
            if (now - ch.dialled < 2000) return;
            ch.dialled = now;
            var WS = typeof WebSocket != 'undefined' ? WebSocket : require('ws');
            try {
                ch.ws = new WS(ch.url);
            } catch (e) {
                ch.ws = null;
                return;
            }
            ch.ws.binaryType = 'arraybuffer';
            ch.ws.onopen = function() {
                ch.outbox.forEach(function(d) { ch.ws.send(d); });
                ch.outbox = [];
            };
            ch.ws.onmessage = function(e) {
                if (typeof e.data != 'string' && ch.inbox.length < 512) ch.inbox.push(new Uint8Array(e.data));
            };
            ch.ws.onerror = function() {};
        };
    }
    var url = Module.pomrinLobbyUrl || ('ws://' + UTF8ToString(szHost) + ':' + nPort + '/');
    Module.pomrinChannels.push({url: url, ws: null, dialled: -1e9, inbox: [], outbox: []});
    return Module.pomrinChannels.length - 1;
});

EM_JS(void, WebChannelSend, (int nChannel, const uint8_t* lpData, int nSize), {
    var ch = Module.pomrinChannels[nChannel];
    if (!ch) return;
    var d = HEAPU8.slice(lpData, lpData + nSize);
    Module.pomrinChannel(ch);
    if (!ch.ws) return;
    if (ch.ws.readyState == 1) {
        if (ch.ws.bufferedAmount < 65536) ch.ws.send(d);
    } else if (ch.ws.readyState == 0 && ch.outbox.length < 64) {
        ch.outbox.push(d);
    }
});

EM_JS(int, WebChannelReceive, (int nChannel, uint8_t* lpData, int nMax), {
    var ch = Module.pomrinChannels[nChannel];
    for (var d; ch && (d = ch.inbox.shift());) {
        if (d.length > nMax) continue;
        HEAPU8.set(d, lpData);
        return d.length;
    }
    return 0;
});

EM_JS(int, WebChannelPending, (int nChannel), {
    var ch = Module.pomrinChannels[nChannel];
    return ch && ch.inbox.length > 0 ? 1 : 0;
});

EM_JS(void, WebChannelClose, (int nChannel), {
    var ch = Module.pomrinChannels[nChannel];
    if (!ch) return;
    if (ch.ws) {
        ch.ws.onmessage = null;
        ch.ws.onopen = null;
        ch.ws.close();
    }
    Module.pomrinChannels[nChannel] = null;
});

int Plat_ChannelOpen(const char* szHost, uint16_t wPort) {
    ++g_nOpen;
    return WebChannelOpen(szHost, wPort);
}

void Plat_ChannelSend(int nChannel, const uint8_t* lpData, size_t nSize) {
    WebChannelSend(nChannel, lpData, int(nSize));
}

int Plat_ChannelReceive(int nChannel, uint8_t* lpData, size_t nMax) {
    return WebChannelReceive(nChannel, lpData, int(nMax));
}

bool Plat_ChannelPending(int nChannel) {
    return WebChannelPending(nChannel) != 0;
}

void Plat_ChannelClose(int nChannel) {
    WebChannelClose(nChannel);
    --g_nOpen;
}

bool Plat_NetDirect() {
    return false;
}

void Plat_NetSleep(uint32_t dwMs) {
    g_dwSleepMs = dwMs;
}

void Plat_NetShareRoom(const char* szCode) {
    EM_ASM({ if (Module.onRoom) Module.onRoom(UTF8ToString($0)); }, szCode);
}

uint32_t WebNetTakeSleep(bool* lpbOpen) {
    const uint32_t dw = g_dwSleepMs;
    g_dwSleepMs = 0;
    *lpbOpen = g_nOpen > 0;
    return dw;
}

// No socket options and no interfaces of our own in a page.
int Plat_SocketGetTtl(intptr_t) {
    return 0;
}

bool Plat_SocketSetTtl(intptr_t, int) {
    return false;
}

void Plat_SocketIgnoreErrors(intptr_t) {}

int Plat_LocalAddresses(uint32_t*, int) {
    return 0;
}

int Plat_BroadcastAddresses(uint32_t*, int) {
    return 0;
}

bool Plat_HostName(char*, size_t) {
    return false;
}
