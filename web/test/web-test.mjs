// The browser test of the web page (`make web-test`): serves the page on 127.0.0.1,
// drives Debian's Chromium headless through the DevTools protocol, and checks that
//  - the page's own game loads and its first room is drawn, without console errors;
//  - an input script run in the page (?script=) gives the same frames, pixel for pixel,
//    and the same game state as the desktop engine's headless run of that script
//    (the first room, a click that walks Tove, a save);
//  - the save survives a reload of the page and loads.
// Usage: node --experimental-websocket web/test/web-test.mjs BUILD_WEB DESKTOP_ZELKIN
import { execFileSync, spawn } from "node:child_process";
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { fileURLToPath } from "node:url";

const here = path.dirname(fileURLToPath(import.meta.url));
const [webDir, zelkin] = process.argv.slice(2).map((p) => path.resolve(p));
const work = fs.mkdtempSync(path.join(os.tmpdir(), "zelkin-web-test-"));
const packageName = fs.readdirSync(webDir).find((f) => f.endsWith(".tgp"));
const timeoutMs = Number(process.env.WEB_TEST_TIMEOUT_MS) || 180000;
let passed = 0;
let failed = 0;

function check(ok, what, detail = "") {
  if (ok) passed++;
  else failed++;
  console.log((ok ? "ok   " : "FAIL ") + what + (detail ? ": " + detail : ""));
}

// The desktop engine's headless runs of the same scripts, with their own save folder.
const reference = path.join(work, "desktop");
for (const script of ["walk.txt", "load.txt"]) {
  execFileSync(zelkin, [path.join(webDir, packageName), "--headless", "--input", path.join(here, script),
    "--out", reference, "--save-dir", path.join(work, "desktop-saves")], { stdio: "inherit" });
}

// The page, the test scripts (/test/) and the desktop's results (/reference/).
const types = { ".html": "text/html", ".js": "text/javascript", ".mjs": "text/javascript",
  ".wasm": "application/wasm", ".png": "image/png", ".json": "application/json", ".txt": "text/plain" };
const server = http.createServer((request, response) => {
  const url = decodeURIComponent(new URL(request.url, "http://localhost").pathname);
  const [root, rest] = url.startsWith("/test/") ? [here, url.slice(6)]
    : url.startsWith("/reference/") ? [reference, url.slice(11)] : [webDir, url.slice(1) || "index.html"];
  const file = path.join(root, rest);
  if (!file.startsWith(root) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
    response.writeHead(404).end();
    return;
  }
  const body = fs.readFileSync(file);
  response.writeHead(200, { "Content-Type": types[path.extname(file)] || "application/octet-stream",
    "Content-Length": body.length, "Cache-Control": "no-store" });
  response.end(body);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const origin = "http://127.0.0.1:" + server.address().port;

const browser = spawn("chromium", ["--headless=new", "--no-sandbox", "--disable-gpu", "--no-first-run",
  "--disable-extensions", "--mute-audio", "--autoplay-policy=no-user-gesture-required",
  "--remote-debugging-address=127.0.0.1", "--remote-debugging-port=0",
  "--user-data-dir=" + path.join(work, "profile"), "about:blank"], { stdio: ["ignore", "ignore", "pipe"] });
const endpoint = await new Promise((resolve, reject) => {
  let text = "";
  browser.stderr.on("data", (chunk) => {
    text += chunk;
    const match = text.match(/DevTools listening on (ws:\/\/\S+)/);
    if (match) resolve(match[1]);
  });
  browser.on("exit", () => reject(new Error("chromium ended: " + text)));
  setTimeout(() => reject(new Error("chromium did not start: " + text)), 30000);
});
const list = await (await fetch("http://" + new URL(endpoint).host + "/json/list")).json();
const socket = new WebSocket(list.find((t) => t.type === "page").webSocketDebuggerUrl);
await new Promise((resolve) => socket.addEventListener("open", resolve));

let nextId = 1;
const pending = new Map();
const problems = [];
const consoleLines = [];  // printed when a check fails
socket.addEventListener("message", (event) => {
  const message = JSON.parse(event.data);
  if (message.method === "Runtime.consoleAPICalled")
    consoleLines.push(message.params.type + ": " + message.params.args.map((a) => a.value ?? a.description).join(" "));
  if (message.id) {
    const { resolve, reject } = pending.get(message.id);
    pending.delete(message.id);
    if (message.error) reject(new Error(message.error.message));
    else resolve(message.result);
  } else if (message.method === "Runtime.consoleAPICalled" && ["error", "assert"].includes(message.params.type)) {
    problems.push("console: " + message.params.args.map((a) => a.value ?? a.description).join(" "));
  } else if (message.method === "Runtime.exceptionThrown") {
    const d = message.params.exceptionDetails;
    problems.push("exception: " + (d.exception ? d.exception.description : d.text));
  } else if (message.method === "Log.entryAdded" && message.params.entry.level === "error") {
    problems.push("log: " + message.params.entry.text + " " + (message.params.entry.url || ""));
  }
});
function send(method, params = {}) {
  const id = nextId++;
  socket.send(JSON.stringify({ id, method, params }));
  return new Promise((resolve, reject) => pending.set(id, { resolve, reject }));
}
async function evaluate(expression) {
  const r = await send("Runtime.evaluate", { expression, awaitPromise: true, returnByValue: true });
  if (r.exceptionDetails) throw new Error(expression + ": " + r.exceptionDetails.text + " " +
    (r.exceptionDetails.exception ? r.exceptionDetails.exception.description : ""));
  return r.result.value;
}
async function until(expression, what) {
  const start = Date.now();
  for (;;) {
    const value = await evaluate(expression).catch(() => undefined);
    if (value) return value;
    if (Date.now() - start > timeoutMs) {
      const shown = await evaluate("document.getElementById('message').textContent").catch((e) => e.message);
      throw new Error("timed out waiting for " + what + " (the page says: " + shown + ")");
    }
    await new Promise((resolve) => setTimeout(resolve, 100));
  }
}
async function open(query) {
  await send("Page.navigate", { url: origin + "/index.html" + query });
  await until("document.readyState === 'complete' && !!window.zelkinPage", "the page");
}

// Counts the pixels in which two pictures differ; both are PNG bytes, or the canvas.
const comparePictures = `async (a, b) => {
  async function pixels(source) {
    let image = source;
    if (source !== "canvas") {
      const blob = typeof source === "string" ? await (await fetch(source)).blob()
                                              : new Blob([new Uint8Array(source)], { type: "image/png" });
      image = await createImageBitmap(blob, { colorSpaceConversion: "none", premultiplyAlpha: "none" });
    } else {
      image = document.getElementById("canvas");
    }
    const c = new OffscreenCanvas(image.width, image.height);
    const x = c.getContext("2d");
    x.drawImage(image, 0, 0);
    return { w: image.width, h: image.height, data: x.getImageData(0, 0, image.width, image.height).data };
  }
  const p = await pixels(a), q = await pixels(b);
  if (p.w !== q.w || p.h !== q.h) return "sizes " + p.w + "x" + p.h + " and " + q.w + "x" + q.h;
  let differ = 0, box = [p.w, p.h, -1, -1];
  for (let i = 0; i < p.data.length; i += 4) {
    if (p.data[i] === q.data[i] && p.data[i + 1] === q.data[i + 1] && p.data[i + 2] === q.data[i + 2]) continue;
    const x = (i / 4) % p.w, y = Math.floor(i / 4 / p.w);
    box = [Math.min(box[0], x), Math.min(box[1], y), Math.max(box[2], x), Math.max(box[3], y)];
    differ++;
  }
  return differ ? differ + " pixels differ, within " + JSON.stringify(box) : 0;
}`;
async function samePicture(a, b, what) {
  const r = await evaluate(`(${comparePictures})(${a}, ${b})`);
  check(r === 0, what, r === 0 ? "" : r);
}
async function sameState(name) {
  const strip = (text) => {
    const state = JSON.parse(text);
    delete state.saveFolder;  // the page's folder and the desktop's differ
    return JSON.stringify(state);
  };
  const page = strip(await evaluate(`zelkinPage.readText("/run/out/${name}.json")`));
  const desktop = strip(fs.readFileSync(path.join(reference, name + ".json"), "utf8"));
  check(page === desktop, `the state "${name}" is the desktop's`);
  return JSON.parse(page);
}
async function runScript(script) {
  await open("?script=test/" + script);
  const status = await until("zelkinPage.failed || (zelkinPage.exitStatus !== null && String(zelkinPage.exitStatus))",
    script + " to end");
  check(status === "0", script + " runs in the page", status === "0" ? "" : status);
}

try {
  await send("Runtime.enable");
  await send("Page.enable");
  await send("Log.enable");
  // The canvas above the page's 32-pixel bar is then the game's 800 x 600, one to one.
  await send("Emulation.setDeviceMetricsOverride", { width: 800, height: 632, deviceScaleFactor: 1, mobile: false });

  // The page's own game, played as a player would.
  await open("");
  const shown = await until("zelkinPage.failed || zelkinPage.events.find((e) => e.event === 'shown')", "the first room");
  check(typeof shown === "object", "the first room is drawn", typeof shown === "object" ? "" : shown);
  if (typeof shown === "object") console.log(`     page load to the first room: ${Math.round(shown.ms)} ms`);
  await new Promise((resolve) => setTimeout(resolve, 1000));
  const shot = await send("Page.captureScreenshot", { format: "png" });
  // A picture of the page for people to look at, beside the build folder.
  const shotDir = webDir + "-test";
  fs.mkdirSync(shotDir, { recursive: true });
  fs.writeFileSync(path.join(shotDir, "page.png"), Buffer.from(shot.data, "base64"));
  const colours = await evaluate(`(() => { const d = document.getElementById("canvas").getContext("2d")
    .getImageData(0, 0, 800, 600).data; const s = new Set(); for (let i = 0; i < d.length; i += 4000)
    s.add(d[i] << 16 | d[i + 1] << 8 | d[i + 2]); return s.size; })()`);
  check(colours > 20, "the canvas shows a picture", colours + " colours sampled");
  // A player's saves go into the game's own folder under the page's stored data, as
  // on the desktop; scripted runs keep theirs apart.
  const saveFolders = await evaluate(`Module.FS.readdir("/persist/zelkin")
    .filter((f) => f !== "." && f !== ".." && Module.FS.analyzePath("/persist/zelkin/" + f + "/saves").exists)`);
  check(saveFolders.length === 1, "the game's saves go to /persist/zelkin/GAME/saves", JSON.stringify(saveFolders));
  // The room's MIDI track plays from its OGG rendering, through a running audio context.
  const audio = await evaluate(`JSON.stringify({ context: Module.SDL2 && Module.SDL2.audioContext &&
    Module.SDL2.audioContext.state, complaints: zelkinPage.stderr })`);
  check(JSON.parse(audio).context === "running" && JSON.parse(audio).complaints.length === 0,
    "sound plays, the music from its rendering", audio);

  // The scripted run: the same frames and states as the desktop's.
  await runScript("walk.txt");
  await samePicture(`zelkinPage.readFile("/run/out/cottage.png")`, `"/reference/cottage.png"`,
    "the first room is the desktop's, pixel for pixel");
  await samePicture(`"canvas"`, `"/reference/saved.png"`, "the canvas shows the desktop's last frame");
  const tove = (state) => {
    const room = state.rooms.find((r) => r.name === state.currentRoom);
    const hero = room && room.objects.find((o) => o.name === "hero");
    return hero ? [hero.x, hero.y] : null;
  };
  const before = tove(await sameState("start"));
  const walked = tove(await sameState("walked"));
  check(before && walked && (before[0] !== walked[0] || before[1] !== walked[1]), "the click walked Tove",
    JSON.stringify(before) + " to " + JSON.stringify(walked));
  await sameState("saved");
  await evaluate("zelkinPage.whenSynced()");

  // A new page: the save comes back from IndexedDB.
  await runScript("load.txt");
  const loaded = await sameState("loaded");
  check(JSON.stringify(tove(loaded)) === JSON.stringify(walked), "the loaded game has Tove where she was saved");
  await samePicture(`zelkinPage.readFile("/run/out/loaded.png")`, `"/reference/loaded.png"`,
    "the loaded game looks as on the desktop");

  check(problems.length === 0, "no errors in the console", problems.join("; "));

  // A file that is no game package is refused with a message on the page.
  await open("?game=test/walk.txt");
  const refusal = await until("zelkinPage.failed", "the refusal of a file that is no package");
  check(/walk\.txt cannot be read: it is not a game package/.test(refusal), "a wrong file is refused clearly", refusal);
} catch (error) {
  check(false, "the browser test ran to its end", error.message);
} finally {
  socket.close();
  await new Promise((resolve) => {
    browser.on("exit", resolve);
    browser.kill();
    setTimeout(resolve, 5000);
  });
  server.close();
  fs.rmSync(work, { recursive: true, force: true, maxRetries: 5 });
}
if (failed) console.log("The page's console, last lines:\n  " + consoleLines.slice(-25).join("\n  "));
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
