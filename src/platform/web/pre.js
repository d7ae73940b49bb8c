// Before the game starts: user_data/ (the settings) lives in the browser's IndexedDB.
Module["preRun"] = Module["preRun"] || [];
Module["preRun"].push(function () {
  try { FS.mkdir("/user_data"); } catch (e) {}
  FS.mount(IDBFS, {}, "/user_data");
  addRunDependency("user_data");
  FS.syncfs(true, function (err) {
    if (err) console.warn("loading user_data failed", err);
    removeRunDependency("user_data");
  });
});

// Online play. The lobby server: ?lobby=URL in the page's address, else the URL in lobby.txt
// beside the page (scripts/web.sh writes it from POMRIN_WEB_LOBBY), else the page's own host at
// port 27820 (wss: for a page served over https). ?room=CODE opens the online screen on the way
// into that room. Only ws:/wss: URLs and code-like rooms are taken: the address is anyone's to write.
Module["arguments"] = Module["arguments"] || [];
Module["preRun"].push(function () {
  var args = Module["arguments"];
  var params = new URLSearchParams(location.search);
  function lobby(text) {
    var u;
    try { u = new URL(String(text).trim()); } catch (e) { return false; }
    if (u.protocol != "ws:" && u.protocol != "wss:") return false;
    Module.pomrinLobbyUrl = u.href;
    // The game needs a HOST:PORT of its own; the channel goes to the URL whatever it says.
    var host = /^[A-Za-z0-9.-]{1,200}$/.test(u.hostname) ? u.hostname : "lobby";
    args.push("--lobby", host + ":" + (u.port || (u.protocol == "wss:" ? 443 : 80)));
    return true;
  }
  function start() {
    var room = params.get("room");
    if (room !== null) {
      args.push("--online");
      if (/^[0-9A-Za-z]{1,16}$/.test(room)) args.push("--join", room);
    }
  }
  var own = (location.protocol == "https:" ? "wss://" : "ws://") + (location.hostname || "127.0.0.1") + ":27820/";
  if (params.has("lobby") && lobby(params.get("lobby"))) return start();
  addRunDependency("lobby.txt");
  fetch("lobby.txt", {cache: "no-cache"})
    .then(function (r) { return r.ok ? r.text() : ""; })
    .catch(function () { return ""; })
    .then(function (t) {
      if (!t || !lobby(t)) lobby(own);
      start();
      removeRunDependency("lobby.txt");
    });
});
