// The page in headless Chromium: the title equals the native simulator's picture in the browser's
// language (English), the options and the language saved survive a reload (the title then equals
// the Japanese picture), a VS COM battle starts from the keyboard, frames come at 90 a second,
// a gamepad works as joystick 0, and the title's quit row ends the game with the page that offers
// to start again. Online: a code that names no room leaves the link's page on the online screen;
// a page makes a room and shows its link, a second browser opens the link, and both reach the
// fight with keys (the lobby server's URL comes to the pages in lobby.txt).
// Usage: node browser_test.js PAGE_URL SHOTS_DIR   (the site also serves the native simulator's
// titles as native-title-en.png and native-title-ja.png, and lobby.txt)
"use strict";
const fs = require("fs");
const os = require("os");
const path = require("path");
const puppeteer = require("puppeteer-core");

const [url, shotsDir] = process.argv.slice(2);
const CHROMIUM = process.env.CHROMIUM || "/usr/bin/chromium";

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));

// Opens the address (or reloads the page), counts game frames and keeps the cost of each battle
// frame from inside the page, and lets 120 frames pass (the title's fade-in).
async function load(page, address) {
  await (address ? page.goto(address) : page.reload());
  await page.waitForFunction(() => typeof Module !== "undefined" && Module.calledRun && Module._pomrin_scene,
                             { timeout: 60000 });
  await page.evaluate(() => {
    window.__t = { frames: 0, battle: [] };
    Module.onGameFrame = (ms) => {
      __t.frames++;
      if (Module._pomrin_scene() === 2) __t.battle.push(ms);
    };
  });
  await waitFrames(page, 120);
}
const frames = (page) => page.evaluate(() => __t.frames);
const scene = (page) => page.evaluate(() => Module._pomrin_scene());
async function waitFrames(page, n) {
  const start = await frames(page);
  await page.waitForFunction((s, k) => __t.frames >= s + k, { timeout: 60000 }, start, n);
}
// Presses the keys in turn, each held for 3 frames ("ArrowDown*3": three times).
async function press(page, ...keys) {
  for (const k of keys) {
    const [key, times = 1] = k.split("*");
    for (let i = 0; i < times; i++) {
      await page.keyboard.down(key);
      await waitFrames(page, 3);
      await page.keyboard.up(key);
      await waitFrames(page, 12);
    }
  }
}
async function padButton(page, i) {
  for (const down of [true, false]) {
    await page.evaluate((b, d) => {
      __pad.buttons[b] = { pressed: d, touched: d, value: d ? 1 : 0 };
      __pad.timestamp++;
    }, i, down);
    await waitFrames(page, down ? 3 : 12);
  }
}
async function waitScene(page, want, ms) {
  await page.waitForFunction((s) => Module._pomrin_scene() === s, { timeout: ms }, want);
}

// Pixels of the game's canvas that differ from the native picture in language lang.
function canvasDiff(page, lang) {
  return page.evaluate(async (lang) => {
    const img = new Image();
    img.src = `native-title-${lang}.png`;
    await img.decode();
    const c = document.createElement("canvas");
    c.width = img.width;
    c.height = img.height;
    const ctx = c.getContext("2d");
    ctx.drawImage(img, 0, 0);
    const want = ctx.getImageData(0, 0, c.width, c.height).data;
    const game = document.getElementById("canvas");
    if (game.width !== c.width || game.height !== c.height) return -1;
    const got = game.getContext("2d").getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 0; i < want.length; i += 4)
      if (want[i] !== got[i] || want[i + 1] !== got[i + 1] || want[i + 2] !== got[i + 2]) n++;
    return n;
  }, lang);
}

// A browser with a profile of its own (removed at the end).
const profiles = [];
function launch() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), "pomrin-chromium-"));
  profiles.push(profile);
  return puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--autoplay-policy=user-gesture-required",
           "--window-size=1400,1050"],
    defaultViewport: { width: 1400, height: 1050 },
  });
}

async function main() {
  fs.mkdirSync(shotsDir, { recursive: true });
  const browser = await launch();
  let browserB;
  const errors = [];
  let page;
  try {
    page = await browser.newPage();
    // A standard gamepad, as the browser's Gamepad API shows one; the test presses its buttons.
    await page.evaluateOnNewDocument(() => {
      const button = () => ({ pressed: false, touched: false, value: 0 });
      window.__pad = { id: "Test pad (STANDARD GAMEPAD)", index: 0, connected: true, mapping: "standard",
                       timestamp: 1, axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, button) };
      navigator.getGamepads = () => [window.__pad, null, null, null];
      // A browser set to English, whatever the machine's locale.
      Object.defineProperty(navigator, "language", { get: () => "en-US" });
    });
    page.on("pageerror", (e) => errors.push(String(e)));
    page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });

    // The title, once its fade-in is over, is the native picture pixel for pixel, in English:
    // with no language saved the game follows the browser's.
    await load(page, url);
    check((await scene(page)) === 0, "the page opens on the title");
    const nDiff = await canvasDiff(page, "en");
    check(nDiff === 0, `the title equals the native simulator's English picture (${nDiff} pixels differ)`);
    const size = await page.evaluate(() => getComputedStyle(document.getElementById("canvas")).width);
    check(size === "1280px", `the picture is scaled by a whole number in a 1400 x 1050 window (${size} wide)`);
    await page.screenshot({ path: path.join(shotsDir, "title.png") });
    await page.click("#full");
    await page.waitForFunction(() => document.fullscreenElement, { timeout: 5000 }).catch(() => {});
    const full = await page.evaluate(() => document.fullscreenElement && document.fullscreenElement.id);
    check(full === "stage", `the button puts the picture in full screen (${full})`);
    await page.evaluate(() => document.fullscreenElement && document.exitFullscreen());

    // Escape leaves the game running; the first key press unlocks the sound.
    const audioBefore = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
                                                  Module.SDL2.audioContext.state);
    await press(page, "Escape");
    await waitFrames(page, 30);
    check((await scene(page)) === 0, "Escape does not end the game");
    const audioAfter = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext &&
                                                 Module.SDL2.audioContext.state);
    check(audioAfter === "running", `sound runs after the first key press (audio before it: ${audioBefore})`);
    const scrolled = await page.evaluate(() => window.scrollY);
    check(scrolled === 0, "the arrow keys do not scroll the page");

    // Options (the title's fourth row, under the online row): COM strength to 強すぎ (4), the
    // language to Japanese, save, back to the title.
    await press(page, "ArrowDown*3", "z");
    await waitScene(page, 3, 10000);
    await waitFrames(page, 60);
    await press(page, "ArrowDown*4", "ArrowRight*2", "ArrowDown*3", "ArrowRight", "ArrowDown", "z");
    await waitFrames(page, 30);
    await page.screenshot({ path: path.join(shotsDir, "options.png") });
    await press(page, "ArrowDown", "z");
    await waitScene(page, 0, 10000);
    await sleep(500);  // the write to IndexedDB finishes on its own

    // The saved settings come back after a reload, the language with them.
    await load(page);
    const option = await page.evaluate(() => Array.from(FS.readFile("/user_data/Option.dat")));
    check(option.length === 40 && option[16] === 4, `the saved settings survive a reload (COM strength ${option[16]})`);
    const settings = await page.evaluate(() => FS.readFile("/user_data/Settings.txt", { encoding: "utf8" }));
    const nDiffJa = await canvasDiff(page, "ja");
    check(settings === "language ja\n" && nDiffJa === 0,
          `the saved language survives a reload: the title in Japanese (${nDiffJa} pixels differ)`);

    // VS COM: title row 0 confirmed with the gamepad's first button (joystick 0, button 1).
    await padButton(page, 0);
    await waitScene(page, 1, 10000).catch(() => {});
    check((await scene(page)) === 1, "the gamepad confirms the title's VS COM row");
    if ((await scene(page)) !== 1) {
      await press(page, "z");
      await waitScene(page, 1, 10000);
    }
    await waitFrames(page, 60);
    // The standard layout's D-pad (buttons 12 to 15) steers like the stick: right moves the cursor.
    const col0 = await page.evaluate(() => Module._pomrin_cursor_col());
    await padButton(page, 15);
    const col1 = await page.evaluate(() => Module._pomrin_cursor_col());
    check(col1 === col0 + 1, `the gamepad's D-pad right moves the select cursor (column ${col0} -> ${col1})`);
    await page.screenshot({ path: path.join(shotsDir, "select.png") });
    // Button 1 picks the character, then confirms the skills.
    for (let i = 0; i < 6 && (await scene(page)) !== 2; i++) {
      await press(page, "z");
      await waitFrames(page, 20);
    }
    check((await scene(page)) === 2, "a VS COM battle starts from the keyboard");

    // Game frames per second over 10 seconds of page time.
    const [f0, t0] = await page.evaluate(() => [__t.frames, performance.now()]);
    await sleep(1500);  // the ready sign: both fighters in their corners
    await page.screenshot({ path: path.join(shotsDir, "fight.png") });
    await page.waitForFunction((t) => performance.now() - t >= 10000, { timeout: 60000, polling: 50 }, t0);
    const [f1, t1] = await page.evaluate(() => [__t.frames, performance.now()]);
    const fps = (f1 - f0) * 1000 / (t1 - t0);
    check(fps >= 80 && fps <= 95, `game frames per second over ${((t1 - t0) / 1000).toFixed(1)} s: ${fps.toFixed(1)}`);

    // The battle's frame cost over the rest of the match (player 1 stands still).
    await page.waitForFunction(() => Module._pomrin_scene() !== 2, { timeout: 180000, polling: 200 });
    const costs = await page.evaluate(() => __t.battle.slice().sort((a, b) => a - b));
    const median = costs[Math.floor(costs.length / 2)];
    const worst = costs[costs.length - 1];
    console.log(`info battle frame cost over ${costs.length} frames of a VS COM match at strength 4: ` +
                `median ${median.toFixed(3)} ms, p99 ${costs[Math.floor(costs.length * 0.99)].toFixed(3)} ms, ` +
                `worst ${worst.toFixed(3)} ms`);
    check(costs.length > 500, "the match ran in the page");

    // The quit row ends the game and offers to start again.
    await load(page);
    await press(page, "ArrowDown*4");
    await page.keyboard.press("z", { delay: 100 });  // the last frames of the game follow
    await page.waitForFunction(() => getComputedStyle(document.getElementById("end")).display !== "none",
                               { timeout: 10000 });
    await page.screenshot({ path: path.join(shotsDir, "end.png") });
    check(true, "the quit row ends the game with the page to start again");

    // Online, a second browser: a link whose code names no room stays on the online screen (and
    // says so there: online-no-room.png).
    browserB = await launch();
    const pageB = await browserB.newPage();
    pageB.on("pageerror", (e) => errors.push(String(e)));
    await load(pageB, url + "?room=ZZZZZZ");
    await sleep(4000);
    check((await scene(pageB)) === 4, "a link to no room opens the online screen and stays there");
    await pageB.screenshot({ path: path.join(shotsDir, "online-no-room.png") });

    // The first page makes a room (the title's online row, then its first row) and shows the link.
    await load(page, url);
    await press(page, "ArrowDown*2", "z");
    await waitScene(page, 4, 10000);
    await waitFrames(page, 60);
    await press(page, "z");
    await page.waitForFunction(() => getComputedStyle(document.getElementById("room")).display !== "none",
                               { timeout: 20000 });
    const link = await page.evaluate(() => document.getElementById("roomlink").href);
    check(link.startsWith(url + "?room=") && /^[0-9A-Z]{6}$/.test(link.slice(-6)), `the page shows the room's link (${link})`);
    await page.screenshot({ path: path.join(shotsDir, "online-room.png") });

    // The link joins at once: both pages go to the character select, then pick with button 1
    // until the fight.
    await load(pageB, link);
    await Promise.all([waitScene(page, 1, 30000), waitScene(pageB, 1, 30000)]);
    const shown = await page.evaluate(() => getComputedStyle(document.getElementById("room")).display);
    check(shown === "none", "both pages reach the character select; the link is gone once the guest is in");
    for (let i = 0; i < 8 && ((await scene(page)) !== 2 || (await scene(pageB)) !== 2); i++) {
      await Promise.all([press(page, "z"), press(pageB, "z")]);
      await Promise.all([waitFrames(page, 20), waitFrames(pageB, 20)]);
    }
    check((await scene(page)) === 2 && (await scene(pageB)) === 2, "both pages reach the fight");
    await sleep(1500);
    await page.screenshot({ path: path.join(shotsDir, "online-fight-host.png") });
    await pageB.screenshot({ path: path.join(shotsDir, "online-fight-guest.png") });
    check(errors.length === 0, `no errors on the pages${errors.length ? ": " + errors.join(" | ") : ""}`);
  } catch (e) {
    // What the page was doing when a step did not come.
    const state = await page.evaluate(() => ({ frames: window.__t && __t.frames, scene: Module._pomrin_scene(),
                                               end: getComputedStyle(document.getElementById("end")).display }))
      .catch((x) => String(x));
    console.log("page state:", JSON.stringify(state), "errors:", errors.join(" | "));
    await page.screenshot({ path: path.join(shotsDir, "failed.png") }).catch(() => {});
    throw e;
  } finally {
    await browser.close();
    if (browserB) await browserB.close();
    for (const profile of profiles) fs.rmSync(profile, { recursive: true, force: true });
  }
  if (failures) {
    console.log(`${failures} check(s) failed`);
    process.exit(1);
  }
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
