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
