// make web-test: the browser build in headless chromium, as a player would meet it, and the golden
// replays played by the runner in a page against the desktop runner's results.
//   node web/test/browser_test.mjs WEB_BUILD GOLDEN_DIR DESKTOP_RUNNER
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { execFileSync } from "node:child_process";
import puppeteer from "puppeteer-core";
import { serve } from "../serve.mjs";

const [webBuild, goldenArg, runnerArg] = process.argv.slice(2);
const goldenDir = path.resolve(goldenArg), desktopRunner = path.resolve(runnerArg);
// The desktop runner plays in a scratch copy of the game files, as the end-to-end scripts do.
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), "cinder-web-"));
for (const dir of ["gfx", "sfx", "level", "music"])
  fs.cpSync(path.join(path.dirname(desktopRunner), dir), path.join(scratch, dir), { recursive: true });
let failures = 0;
const figures = {};
function check(ok, what) {
  console.log(`${ok ? "ok  " : "FAIL"} ${what}`);
  if (!ok) failures++;
}
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
// Polls `fn` until it gives something true or `ms` have passed, and returns what it gave last: the
// waits below wait for what they need, however slowly a loaded machine gets there.
async function until(fn, ms = 15000, every = 50) {
  const end = Date.now() + ms;
  let v;
  while (!(v = await fn()) && Date.now() < end) await sleep(every);
  return v;
}
// WEB_TEST_ONLY=player,highscore (the parts' names below) runs only those parts.
const only = process.env.WEB_TEST_ONLY ? process.env.WEB_TEST_ONLY.split(",") : null;

const server = await serve(path.join(webBuild, "site"), path.join(webBuild, "runner"), 0);
const base = `http://127.0.0.1:${server.address().port}/`;
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--enable-unsafe-swiftshader", "--autoplay-policy=user-gesture-required"],
});

// The end state of a run, without the timings (which differ from run to run).
function endState(json) {
  const o = JSON.parse(json);
  delete o.frame_work_us;
  return JSON.stringify(o);
}

async function goldenReplays() {
  const page = await browser.newPage();
  await page.goto(base + "runner/");
  await page.waitForFunction(() => window.runnerReady);
  const run = (args, files) => page.evaluate((a, f) => runSim(a, f), args, files);
  const replays = fs.readdirSync(goldenDir).filter((f) => f.endsWith(".replay")).sort();
  check(replays.length > 0, `golden replays found in ${goldenDir}`);
  for (const replay of replays) {
    const name = replay.replace(/\.replay$/, "");
    const files = { "r.replay": [...fs.readFileSync(path.join(goldenDir, replay))],
                    "r.expect": [...fs.readFileSync(path.join(goldenDir, name + ".expect"))] };
    const args = ["--no-render", "--replay", "/work/r.replay", "--expect", "/work/r.expect"];
    const t0 = Date.now();
    const web = await run(["--dir", "/game", ...args], files);
    figures[`golden ${name} in the page (ms)`] = Date.now() - t0;
    check(web.code === 0, `${name}: the page's run meets its expectations${web.code ? ": " + web.err : ""}`);
    const desk = execFileSync(desktopRunner, ["--no-render", "--replay", path.join(goldenDir, replay)],
                              { cwd: scratch }).toString();
    check(web.code === 0 && endState(web.out) === endState(desk), `${name}: the same end state as the desktop runner`);
  }
  // The check itself: one picture hash planted wrong must fail the page's run.
  const name = replays[0].replace(/\.replay$/, "");
  const expect = fs.readFileSync(path.join(goldenDir, name + ".expect"), "utf8");
  const planted = expect.replace(/([0-9a-f]{16})/, (h) => (h[0] === "0" ? "1" : "0") + h.slice(1));
  check(planted !== expect, "a hash to plant wrong was found in the expectations");
  const bad = await run(["--dir", "/game", "--no-render", "--replay", "/work/r.replay", "--expect", "/work/r.expect"],
                        { "r.replay": [...fs.readFileSync(path.join(goldenDir, replays[0]))],
                          "r.expect": [...Buffer.from(planted)] });
  check(bad.code !== 0, `${name}: a wrong picture hash fails the page's run`);
  // The busiest frames with every frame drawn: the work and drawing of each, as the runner measures them.
  const drawn = await run(["--dir", "/game", "--replay", "/work/r.replay"],
                          { "r.replay": [...fs.readFileSync(path.join(goldenDir, replays[replays.length - 1]))] });
  const work = JSON.parse(drawn.out).frame_work_us;
  figures["runner in the page, every frame drawn: frame work p99 / max (ms)"] =
    `${(work.p99 / 1000).toFixed(2)} / ${(work.max / 1000).toFixed(2)}`;
  // The busiest boss frames (the second form on HARD, its busiest 300 frames), work plus drawing,
  // measured by the benchmark in the page: a figure, not a check.
  const bench = await page.evaluate(() => runSim(["enemies_second_form_hexagons"], {}, "bench"));
  const whole = bench.out.split("\n").find((l) => /busiest 300 frames: whole frame/.test(l)) || "";
  const m = whole.match(/median\s+([\d.]+) us\s+p99\s+([\d.]+) us\s+max\s+([\d.]+) us/);
  check(bench.code === 0 && m, "the benchmark runs in the page");
  if (m) figures["busiest boss frames in the page, work + drawing: median / p99 / max (ms)"] =
    m.slice(1).map((us) => (us / 1000).toFixed(2)).join(" / ");
  await page.close();
}

// The game page, in a profile of its own (its IndexedDB starts empty).
async function gamePage(context, fakePad) {
  const page = await context.newPage();
  // Headless chromium lets any page play sound; a player's browser does not before a key or a
  // click. New audio contexts start suspended here as they would there: only a resume (the
  // page's answer to the first key) makes them run.
  await page.evaluateOnNewDocument(() => {
    const Real = window.AudioContext;
    window.AudioContext = window.webkitAudioContext = class extends Real {
      constructor(...a) { super(...a); this.suspend(); }
    };
  });
  if (fakePad) {
    // A pad plugged in through the page's gamepad API: the test moves its stick and buttons.
    await page.evaluateOnNewDocument(() => {
      window.fakePad = { id: "test pad", index: 0, connected: true, mapping: "standard", timestamp: 0,
                         axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) };
      navigator.getGamepads = () => [window.fakePad, null, null, null];
      window.setPad = (x, y, b0) => {
        window.fakePad.axes[0] = x; window.fakePad.axes[1] = y;
        window.fakePad.buttons[0] = { pressed: b0, value: b0 ? 1 : 0 };
        window.fakePad.timestamp++;
      };
    });
  }
  page.on("console", (m) => { if (process.env.WEB_TEST_VERBOSE) console.log("  page:", m.text()); });
  page.on("pageerror", (e) => console.log("  page error:", e.message));
  const t0 = Date.now();
  await page.goto(base);
  await page.waitForFunction(() => window.Module && Module.calledRun, { timeout: 60000 });
  return { page, t0 };
}
const state = (page) => page.evaluate(() => JSON.parse(UTF8ToString(Module._web_state())));
// Until the page's copy to storage has caught up after `n` copies: a later one finished, and none
// running or due (a copy already running when the game wrote is followed by another).
function storageSettled(page, n, timeout = 15000) {
  return page.waitForFunction((k) => (window.savedCount || 0) > k && !syncing && !dirty && !syncTimer,
                              { timeout }, n);
}
const framesRun = (page) => page.evaluate(() => Module._web_frames_run());
// Until the game has run `n` frames more than `from`: counted in game frames, not milliseconds.
function framesPast(page, from, n, timeout = 30000) {
  return page.waitForFunction((f) => Module._web_frames_run() >= f, { polling: "raf", timeout }, from + n);
}
// Held for two game frames (the event is in the page's queue once down() returns), well short of
// the menus' 15-frame repeat, then released for 20 frames, past that repeat; a key that ends the
// game (`ends`) is only released, as no frame follows.
async function press(page, key, ends = false) {
  await page.keyboard.down(key);
  if (ends)
    await page.waitForFunction(() => document.getElementById("ended").classList.contains("shown"), { timeout: 30000 });
  else
    await framesPast(page, await framesRun(page), 2);
  await page.keyboard.up(key);
  if (!ends) await framesPast(page, await framesRun(page), 20);
}
// Holds `key` (a key name, or a pad's stick through setPad) until the ship has moved more than 10
// units from `from` in the direction `sign`, or 10 seconds: the ship that moved, or the last.
async function holdUntilMoved(page, sign, start, stop, from) {
  await start();
  const moved = await until(async () => {
    const s = await state(page);
    return sign * (s.ship_x - from.ship_x) > 10 ? s : null;
  }, 10000);
  await stop();
  return moved || (await state(page));
}
// Counts of the canvas's pixels in [x0, x1) x [y0, y1): lit (any channel above 60) and orange.
function canvasPixels(page, x0, y0, x1, y1) {
  return page.evaluate((x0, y0, x1, y1) => new Promise((done) => requestAnimationFrame(() => {
    // Read right after the game's own callback has drawn this frame's picture.
    const c = document.createElement("canvas");
    c.width = 640; c.height = 480;
    const g = c.getContext("2d");
    g.drawImage(Module.canvas, 0, 0);
    const d = g.getImageData(x0, y0, x1 - x0, y1 - y0).data;
    let lit = 0, orange = 0;
    for (let i = 0; i < d.length; i += 4) {
      if (d[i] > 60 || d[i + 1] > 60 || d[i + 2] > 60) lit++;
      if (d[i] > 200 && d[i + 1] > 80 && d[i + 1] < 200 && d[i + 2] < 100) orange++;
    }
    done({ lit, orange });
  })), x0, y0, x1, y1);
}

// The pace of `page`'s game over three seconds of animation callbacks, each of which first keeps
// the page busy for `busyMs` (a slow machine's page, redrawn less often).
async function checkPace(page, busyMs, what) {
  const ticks = await page.evaluate((busy) => new Promise((done) => {
    const seen = [];
    function tick(t) {
      seen.push([t, Module._web_frames_run()]);
      const until = performance.now() + busy;
      while (performance.now() < until);
      if (t - seen[0][0] < 3000) requestAnimationFrame(tick);
      else done(seen);
    }
    requestAnimationFrame(tick);
  }), busyMs);
  // The 13, 13, 14 ms slots from `next` (the slot due after the first callback seen), at most two
  // frames per callback; `acc` is where the 13s and 14s stand.
  const scheduled = (next, acc) => {
    let total = 0;
    for (const [t] of ticks.slice(1)) {
      const now = Math.trunc(t);
      if (now - next > 250) next = now;
      for (let n = 0; n < 2 && now >= next; n++, total++) {
        next += 13;
        acc += 25;
        if (acc >= 75) { acc -= 75; next += 1; }
      }
    }
    return total;
  };
  const seconds = (ticks[ticks.length - 1][0] - ticks[0][0]) / 1000;
  const ran = ticks[ticks.length - 1][1] - ticks[0][1];
  // Where the page's schedule stood when the count began is not seen: anywhere from the next slot
  // (14 ms ahead) to a quarter second behind. The count must be what the rule gives for one of
  // those starts, within 3 frames (the game's callback may come before or after the test's).
  const t0ms = Math.trunc(ticks[0][0]);
  let least = Infinity, most = -Infinity, nearest = Infinity;
  for (let behind = -14; behind <= 250; behind++)
    for (const acc of [0, 25, 50]) {
      const n = scheduled(t0ms - behind, acc);
      least = Math.min(least, n); most = Math.max(most, n);
      nearest = Math.min(nearest, Math.abs(n - ran));
    }
  const steps = ticks.slice(1).map(([, f], i) => f - ticks[i][1]);
  const callbacks = steps.length / seconds;
  figures[`game frames per second in the page${what} (animation callbacks per second)`] =
    `${(ran / seconds).toFixed(1)} (${callbacks.toFixed(1)})`;
  check(nearest <= 3 && Math.max(...steps) <= 2,
        `the game keeps 75 frames per second of the page's clock, at most two per callback${what} (${ran} frames in ` +
        `${seconds.toFixed(2)} s at ${callbacks.toFixed(1)} callbacks a second; the schedule gives ${least}..${most} by its start, ` +
        `at most ${Math.max(...steps)} per callback)`);
}

async function playerSession() {
  const context = await browser.createBrowserContext();
  // The first picture, and the title: its orange lettering in the upper middle of the screen.
  let { page, t0 } = await gamePage(context, false);
  await page.waitForFunction(() => Module._web_frames_run() > 0, { polling: "raf", timeout: 60000 });
  figures["first picture after opening the page (ms)"] = Date.now() - t0;
  figures["the game's start-up in the page, window (ms)"] = (await page.evaluate(() => Module._web_start_up_ms())).toFixed(0);
  let title = { orange: 0 };
  await until(async () => (title = await canvasPixels(page, 80, 60, 400, 160)).orange > 500);
  check(title.orange > 500, `the title shows (${title.orange} orange pixels in its lettering)`);
  // A larger page: the picture grows by the largest whole factor that fits (2 here), centred.
  await page.setViewport({ width: 1600, height: 1100 });
  const canvasBox = () => page.evaluate(() => { const r = Module.canvas.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
  const wanted = JSON.stringify([160, 70, 1280, 960]);
  await until(async () => JSON.stringify(await canvasBox()) === wanted, 5000);
  // And it stays so once SDL's own resize handling has run in the frames after.
  await framesPast(page, await framesRun(page), 10);
  const box = await canvasBox();
  check(JSON.stringify(box) === wanted, `the picture is doubled and centred (${box})`);
  await page.setViewport({ width: 800, height: 600 });
  const audioBefore = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);

  // Keys start a game (START, then the first ship) and move the ship.
  await press(page, "Enter");
  const audioAfter = await page.evaluate(() => Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state);
  check(audioBefore !== "running" && audioAfter === "running", `sound starts on the first key (${audioBefore} -> ${audioAfter})`);
  await press(page, "Enter");
  await page.waitForFunction(() => JSON.parse(UTF8ToString(Module._web_state())).game_mode === 1, { timeout: 15000 });
  // The ship flies in once the banner has gone.
  await page.waitForFunction(() => { const s = JSON.parse(UTF8ToString(Module._web_state())); return s.ship_x >= 0 && s.ship_y < 220; },
                             { timeout: 60000 });
  const before = await state(page);
  const after = await holdUntilMoved(page, 1, () => page.keyboard.down("ArrowRight"),
                                     () => page.keyboard.up("ArrowRight"), before);
  check(after.ship_x > before.ship_x + 10, `the Right arrow moves the ship (x ${before.ship_x} -> ${after.ship_x})`);
  // F12 takes no screenshot in a page: one line says so (not a failed save), and play goes on.
  await press(page, "F12");
  const shot = await until(() => page.evaluate(() => document.getElementById("status").textContent), 5000);
  check(/not taken in the browser/.test(shot || "") && (await state(page)).game_mode === 1,
        `F12 says screenshots are not taken in the browser ("${shot}")`);

  // The pace: 75 game frames per second of real time, at most two per animation callback, a page
  // late by more than a quarter second starting again from now. The page's own clock and frame
  // counter are read at each callback for three seconds; the frames that rule runs at those very
  // callbacks are the expectation. A page redrawn fewer than 37.5 times a second (a loaded
  // machine's software WebGL) cannot keep 75, and the rule says how many it keeps.
  await checkPace(page, 0, "");
  // A page whose every redraw is late (35 ms of other work in each): fewer than 37.5 callbacks a
  // second, where the two-per-callback limit and the catching up of late frames decide the count.
  await checkPace(page, 35, ", redrawn slowly");
  figures["page frame work, mean / max (ms)"] = await page.evaluate(
    () => `${Module._web_frame_ms_mean().toFixed(2)} / ${Module._web_frame_ms_max().toFixed(2)}`);

  // A hidden tab pauses play.
  await page.evaluate(() => {
    Object.defineProperty(document, "hidden", { value: true, configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
  });
  check(await until(async () => (await state(page)).paused === 1, 5000), "losing the page pauses play");
  await page.evaluate(() => {
    Object.defineProperty(document, "hidden", { value: false, configurable: true });
    document.dispatchEvent(new Event("visibilitychange"));
    dispatchEvent(new Event("focus"));
  });
  await framesPast(page, await framesRun(page), 5);

  // Escape ends the game as on the desktop (saving): the page says the tab can be closed.
  await press(page, "Escape", true);
  await page.waitForFunction(() => document.getElementById("ended").classList.contains("shown"), { timeout: 5000 });
  const line = await page.evaluate(() => document.getElementById("ended-line").textContent);
  check(/close this tab/.test(line), `the ended page says the tab can be closed ("${line.slice(0, 40)}...")`);
  await page.close();

  // Settings: CONTROL set to GAMEPAD in the settings page, then QUIT (which saves).
  ({ page } = await gamePage(context, false));
  await page.waitForFunction(() => Module._web_frames_run() > 30, { polling: "raf" });
  await press(page, "ArrowDown");
  await press(page, "Enter");  // SETTINGS
  check(await until(async () => (await state(page)).menu_screen === 2, 5000), "Enter on SETTINGS opens the settings page");
  await press(page, "ArrowDown");  // CONTROL
  await press(page, "ArrowRight");
  check(await until(async () => (await state(page)).setting_control === 1, 5000), "Right on CONTROL chooses the game pad");
  for (let i = 0; i < 3; i++) await press(page, "ArrowDown");
  await press(page, "Enter");  // EXIT
  for (let i = 0; i < 4; i++) await press(page, "ArrowDown");
  const saves = await page.evaluate(() => window.savedCount || 0);
  await press(page, "Enter", true);  // QUIT
  await storageSettled(page, saves);
  check(await page.evaluate(() => document.getElementById("ended").classList.contains("shown")), "QUIT ends on the closing page");
  const scores = await page.evaluate(() => Array.from(FS.readFile("/libsdl/cinder-arc/data/highscore.dat")));
  await page.close();

  // After a reload: the setting is back, the high-score file is the one saved, and a pad plugged in
  // through the gamepad API starts a game and moves the ship.
  ({ page } = await gamePage(context, true));
  await page.waitForFunction(() => Module._web_frames_run() > 30, { polling: "raf" });
  check((await state(page)).setting_control === 1, "the CONTROL setting survives a reload");
  const scoresAfter = await page.evaluate(() => Array.from(FS.readFile("/libsdl/cinder-arc/data/highscore.dat")));
  check(scores.length === 450 && JSON.stringify(scores) === JSON.stringify(scoresAfter), "the high-score file survives a reload");
  await page.evaluate(() => dispatchEvent(Object.assign(new Event("gamepadconnected"), { gamepad: window.fakePad })));
  for (let i = 0; i < 2; i++) {
    // The pad is read once a frame: each button state held for some frames.
    await page.evaluate(() => setPad(0, 0, true)); await framesPast(page, await framesRun(page), 3);
    await page.evaluate(() => setPad(0, 0, false)); await framesPast(page, await framesRun(page), 20);
  }
  await page.waitForFunction(() => { const s = JSON.parse(UTF8ToString(Module._web_state())); return s.ship_x >= 0 && s.ship_y < 220; },
                             { timeout: 60000 });
  const p0 = await state(page);
  const p1 = await holdUntilMoved(page, -1, () => page.evaluate(() => setPad(-1, 0, false)),
                                  () => page.evaluate(() => setPad(0, 0, false)), p0);
  check(p1.ship_x < p0.ship_x - 10, `the pad's stick moves the ship (x ${p0.ship_x} -> ${p1.ship_x})`);
  await context.close();
}

// A new high score, as a player makes it: a game played until its ships are gone, the name entered
// letter by letter, and the table after a reload. The default table's lowest score (90000 on
// NORMAL) is far beyond a test that only holds fire (a few thousand points before its ships are
// gone), so this browser first keeps a table of low scores, as an earlier player's may be, and the
// RESOLUTION setting FULL: a start-up in full screen must not wait for a display to pace it.
async function highScoreSession() {
  const context = await browser.createBrowserContext();
  let { page } = await gamePage(context, false);
  await page.waitForFunction(() => Module._web_frames_run() > 10, { polling: "raf", timeout: 60000 });
  const windowStart = await page.evaluate(() => Module._web_start_up_ms());
  // The stored files as the game writes them: row by row, EASY, NORMAL, HARD in each, a record of
  // a three-letter name and the ship, score and stage as 32-bit little-endian numbers.
  const scoresFile = Buffer.alloc(450);
  const low = (row) => (10 - row) * 100;
  for (let row = 0; row < 10; row++)
    for (let d = 0; d < 3; d++) {
      const at = row * 45 + d * 15;
      scoresFile.write("T" + d + row, at, "latin1");
      scoresFile.writeInt32LE(1, at + 3);
      scoresFile.writeInt32LE(low(row), at + 7);
      scoresFile.writeInt32LE(1, at + 11);
    }
  const settingsFile = [1, 0, 1, 20];  // NORMAL, KEYBOARD, FULL, 20 particles
  await page.evaluate((scores, settings) => new Promise((done, fail) => {
    FS.mkdirTree("/libsdl/cinder-arc/data");
    FS.writeFile("/libsdl/cinder-arc/data/highscore.dat", new Uint8Array(scores));
    FS.writeFile("/libsdl/cinder-arc/data/settings.dat", new Uint8Array(settings));
    FS.syncfs(false, (err) => (err ? fail(err) : done()));
  }), [...scoresFile], settingsFile);
  await page.close();

  ({ page } = await gamePage(context, false));
  await page.waitForFunction(() => Module._web_frames_run() > 10, { polling: "raf", timeout: 60000 });
  const stored = await state(page);
  check(stored.setting_fullscreen === 1 && stored.table[9][1] === low(9), "the stored table and FULL are read at start-up");
  const fullStart = await page.evaluate(() => Module._web_start_up_ms());
  figures["the game's start-up in the page, full screen saved (ms)"] = fullStart.toFixed(0);
  check(fullStart < windowStart + 700,
        `a saved full screen starts as fast as a window (${fullStart.toFixed(0)} ms, ${windowStart.toFixed(0)} ms in a window)`);

  // START, the first ship, then fire held until the game is over.
  await press(page, "Enter");
  await press(page, "Enter");
  await page.waitForFunction(() => JSON.parse(UTF8ToString(Module._web_state())).game_mode === 1, { timeout: 10000 });
  await page.keyboard.down("a");
  await page.waitForFunction(() => JSON.parse(UTF8ToString(Module._web_state())).new_hiscore === 1,
                             { polling: 200, timeout: 240000 });
  await page.keyboard.up("a");
  const entry = await state(page);
  const rank = entry.hiscore_rank;
  check(entry.menu_screen === 3 && rank >= 1 && rank <= 10 && entry.table[rank - 1][0] === "@@@" &&
        entry.table[rank - 1][1] === entry.score && entry.score > low(rank - 1),
        `game over with ${entry.score} points opens the name entry for row ${rank}`);
  // Right moves the letter on from @ (A, B, C ...); A takes it and moves to the next letter, which
  // starts from the letter before it.
  for (const key of ["ArrowRight", "ArrowRight", "ArrowRight", "a", "ArrowRight", "a", "ArrowRight"]) await press(page, key);
  const saves = await page.evaluate(() => window.savedCount || 0);
  await press(page, "a");
  const synced = await storageSettled(page, saves).then(() => true, () => false);
  const named = await state(page);
  check(named.new_hiscore === 0 && named.table[rank - 1][0] === "CDE" && synced,
        `the name CDE is entered and kept (row ${rank}: ${JSON.stringify(named.table[rank - 1])})`);
  await page.close();

  // After a reload, the HIGHSCORES page (the third row of the main menu) shows it.
  ({ page } = await gamePage(context, false));
  await page.waitForFunction(() => Module._web_frames_run() > 10, { polling: "raf", timeout: 60000 });
  await press(page, "ArrowDown");
  await press(page, "ArrowDown");
  await press(page, "Enter");
  const shown = await until(async () => { const s = await state(page); return s.menu_screen === 3 ? s : null; }, 5000);
  const row = shown && shown.table[rank - 1], below = shown && shown.table[rank];
  check(shown && shown.table_difficulty === 1 && row[0] === "CDE" && row[1] === entry.score &&
        (rank === 10 || (below[0] === "T1" + (rank - 1) && below[1] === low(rank - 1))),
        `after a reload the HIGHSCORES page shows CDE with ${entry.score} in row ${rank}, the old row below (${JSON.stringify(row)})`);
  await context.close();
}

// Storage that is missing, or refuses every write (full): one line on the page, and play goes on.
async function storageProblems() {
  for (const [what, breakIt] of [
    ["missing", () => { delete window.indexedDB; Object.defineProperty(window, "indexedDB", { value: undefined }); }],
    ["full", () => {
      IDBObjectStore.prototype.put = function () { throw new DOMException("quota", "QuotaExceededError"); };
    }],
  ]) {
    const context = await browser.createBrowserContext();
    const page = await context.newPage();
    await page.evaluateOnNewDocument(breakIt);
    page.on("console", (m) => { if (process.env.WEB_TEST_VERBOSE) console.log("  page:", m.text()); });
    page.on("pageerror", (e) => console.log("  page error:", e.message));
    await page.goto(base);
    await page.waitForFunction(() => window.Module && Module.calledRun && Module._web_frames_run() > 10,
                               { polling: "raf", timeout: 60000 });
    if (what === "full") {
      // Something to write: a game records its replay as it is played.
      await press(page, "Enter");
      await press(page, "Enter");
      await page.waitForFunction(() => document.getElementById("storage").textContent !== "", { timeout: 20000 })
        .catch(() => {});
    }
    const line = await page.evaluate(() => document.getElementById("storage").textContent);
    const frames = await framesRun(page);
    const goesOn = await until(async () => (await framesRun(page)) > frames + 5, 10000);
    check(/cannot be kept/.test(line) && !line.includes("\n") && goesOn,
          `${what} storage: one line on the page ("${line.slice(0, 50)}..."), play goes on`);
    await context.close();
  }
}

// Opened as a file, the page says to serve it.
async function fileAddress() {
  const page = await browser.newPage();
  await page.goto("file://" + path.resolve(webBuild, "site/index.html"));
  const line = await page.evaluate(() => document.getElementById("ended-line").textContent);
  check(/served/.test(line) && /web-serve/.test(line), "opened from a file, the page says to serve it");
  await page.close();
}

try {
  const parts = { golden: goldenReplays, player: playerSession, highscore: highScoreSession,
                  storage: storageProblems, file: fileAddress };
  for (const [name, part] of Object.entries(parts)) if (!only || only.includes(name)) await part();
} catch (e) {
  check(false, `the test stopped: ${e.stack || e}`);
} finally {
  await browser.close();
  server.close();
  fs.rmSync(scratch, { recursive: true, force: true });
}
const site = fs.readdirSync(path.join(webBuild, "site")).reduce((n, f) => n + fs.statSync(path.join(webBuild, "site", f)).size, 0);
figures["site size (bytes)"] = site;
check(site <= 6 * 1024 * 1024, "the site is at most 6 MB");
for (const [k, v] of Object.entries(figures)) console.log(`figure: ${k}: ${v}`);
console.log(failures ? `web-test: ${failures} failed` : "web-test: all passed");
process.exit(failures ? 1 : 0);
