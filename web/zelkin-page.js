// The page around the engine: downloads the game package (with a loading bar), puts
// it and the page's rendered music into the engine's file system, keeps the saves of
// each game in IndexedDB, and starts the engine. Query parameters:
//   ?game=URL      play another package than the page's own (relative to the page)
//   ?script=URL    run an input script headless, as `zelkin --headless --input` does,
//                  with every frame shown on the canvas (the browser test uses it)
//   ?continue      resume from the game's autosave, as `zelkin --continue` does
"use strict";

(function () {
  const params = new URLSearchParams(location.search);
  const canvas = document.getElementById("canvas");
  const overlay = document.getElementById("overlay");
  const message = document.getElementById("message");
  const progress = document.getElementById("progress");
  const lastErrors = [];

  // What the browser test reads: the engine's events, its exit status and its files.
  const page = (window.zelkinPage = {
    events: [],
    exitStatus: null,
    stderr: lastErrors,
    readFile: (path) => Array.from(Module.FS.readFile(path)),
    readText: (path) => Module.FS.readFile(path, { encoding: "utf8" }),
  });

  function show(text, withProgress) {
    message.textContent = text;
    progress.hidden = !withProgress;
    overlay.hidden = false;
  }

  function fail(text) {
    show(text, false);
    page.failed = text;
  }

  if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
    fail("This browser cannot run the game: it lacks WebAssembly.\nA current Firefox, Chrome, Edge or Safari can.");
    return;
  }

  // Downloads a file with the loading bar; resolves to its bytes.
  async function download(url, label) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(url + ": " + response.status + " " + response.statusText);
    const total = Number(response.headers.get("Content-Length")) || 0;
    if (!response.body || !total) return new Uint8Array(await response.arrayBuffer());
    const reader = response.body.getReader();
    const bytes = new Uint8Array(total);
    let received = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      if (received + value.length > total) throw new Error(url + ": longer than announced");
      bytes.set(value, received);
      received += value.length;
      show(label + " " + Math.round((100 * received) / total) + " %", true);
      progress.value = received / total;
    }
    return bytes.subarray(0, received);
  }

  // A package chosen with "Play another game" waits in IndexedDB across the reload.
  function chosenStore(mode, action) {
    return new Promise((resolve, reject) => {
      const open = indexedDB.open("zelkin-page", 1);
      open.onupgradeneeded = () => open.result.createObjectStore("chosen");
      open.onerror = () => reject(open.error);
      open.onsuccess = () => {
        const request = action(open.result.transaction("chosen", mode).objectStore("chosen"));
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      };
    });
  }

  document.getElementById("choose").addEventListener("change", async (event) => {
    const file = event.target.files[0];
    if (!file) return;
    await chosenStore("readwrite", (store) => store.put(file, "package"));
    location.search = "?chosen=" + encodeURIComponent(file.name);
  });

  // Full screen is the page's, on the button and on Alt+Enter (the browser grants it
  // only in answer to the player's click or key).
  const game = document.getElementById("game");
  function toggleFullScreen() {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (game.requestFullscreen) game.requestFullscreen().catch(() => {});
    canvas.focus();
  }
  document.getElementById("fullscreen").addEventListener("click", toggleFullScreen);
  window.addEventListener("keydown", (event) => {
    if (event.altKey && event.key === "Enter") {
      event.preventDefault();
      event.stopImmediatePropagation();
      toggleFullScreen();
    }
  }, true);

  canvas.addEventListener("contextmenu", (event) => event.preventDefault());

  // The saves of each game live in IndexedDB under the game's name; a change there is
  // written back at once, so that a save survives a reload.
  let syncing = false;
  let again = false;
  const waiting = [];
  function persist() {
    if (syncing) {
      again = true;
      return;
    }
    syncing = true;
    Module.FS.syncfs(false, (error) => {
      if (error) console.warn("zelkin: saves not stored in the browser:", error);
      syncing = false;
      if (again) {
        again = false;
        persist();
      } else {
        waiting.splice(0).forEach((resolve) => resolve());
      }
    });
  }
  page.whenSynced = () => (syncing ? new Promise((resolve) => waiting.push(resolve)) : Promise.resolve());
  function watchSaves() {
    const FS = Module.FS;
    const inSaves = (path) => typeof path === "string" && path.startsWith("/persist/");
    const close = FS.close;
    FS.close = (stream) => {
      const written = (stream.flags & 3) !== 0;  // opened for writing (O_WRONLY, O_RDWR)
      close(stream);
      if (written && inSaves(stream.path)) persist();
    };
    for (const name of ["rename", "unlink", "rmdir"]) {
      const change = FS[name];
      FS[name] = (...paths) => {
        change(...paths);
        if (paths.some(inSaves)) persist();
      };
    }
  }

  function gameName(fileName) {
    return fileName.replace(/\.[^.]*$/, "").replace(/[^A-Za-z0-9_-]/g, "_") || "game";
  }

  async function start() {
    let packageName = zelkinConfig.package;
    let packageBytes;
    const chosen = params.get("chosen");
    try {
      if (chosen) {
        const file = await chosenStore("readonly", (store) => store.get("package"));
        if (!file) throw new Error("the chosen package is no longer stored");
        packageName = file.name;
        packageBytes = new Uint8Array(await file.arrayBuffer());
      } else {
        const url = params.get("game") || zelkinConfig.package;
        packageName = decodeURIComponent(url.split("/").pop()) || packageName;
        packageBytes = await download(url, "Loading " + packageName);
      }
    } catch (error) {
      fail("The game package " + packageName + " cannot be read:\n" + error.message);
      return;
    }
    if (packageBytes.length < 4 || packageBytes[0] !== 0x50 || packageBytes[1] !== 0x4b) {
      fail("The game package " + packageName + " cannot be read: it is not a game package (a ZIP archive).");
      return;
    }

    // The page's own game comes with its MIDI music rendered to OGG.
    const music = [];
    try {
      const list = await fetch("music/list.txt");
      if (list.ok) {
        for (const name of (await list.text()).split("\n").filter(Boolean)) {
          music.push([name, await download("music/" + name, "Loading the music")]);
        }
      }
    } catch (error) {
      console.warn("zelkin: the music could not be loaded:", error.message);
    }

    let script = null;
    if (params.get("script")) {
      try {
        const response = await fetch(params.get("script"));
        if (!response.ok) throw new Error(response.status + " " + response.statusText);
        script = await response.text();
      } catch (error) {
        fail("The input script cannot be read: " + error.message);
        return;
      }
    }

    show("Starting the engine…", false);
    // A game's saves go where the engine puts them on the desktop, under the player's
    // data folder (/persist here): /persist/zelkin/GAME/saves, GAME named by the game
    // itself, so that a renamed package keeps its saves and two packages of one file
    // name do not share theirs. A scripted run keeps its own, as headless runs do.
    const args = ["/game/" + packageName];
    if (params.has("continue")) args.push("--continue");
    if (script !== null) {
      args.push("--headless", "--input", "/run/script.txt", "--out", "/run/out",
        "--save-dir", "/persist/scripted/" + gameName(packageName));
    }

    window.Module = {
      canvas,
      arguments: args,
      print: (line) => console.log(line),
      printErr: (line) => {
        lastErrors.push(line);
        console.warn(line);
      },
      setStatus: (text) => text && show(text, false),
      preRun: [
        () => {
          const FS = Module.FS;
          FS.mkdir("/game");
          FS.writeFile("/game/" + packageName, packageBytes);
          FS.mkdir("/music");
          for (const [name, bytes] of music) FS.writeFile("/music/" + name, bytes);
          if (script !== null) {
            FS.mkdir("/run");
            FS.writeFile("/run/script.txt", script);
          }
          FS.mkdir("/persist");
          FS.mount(IDBFS, {}, "/persist");
          Module.addRunDependency("zelkin-saves");
          FS.syncfs(true, (error) => {
            if (error) console.warn("zelkin: the browser keeps no saves here:", error);
            watchSaves();
            Module.removeRunDependency("zelkin-saves");
          });
        },
      ],
      onRuntimeInitialized: () => {
        overlay.hidden = true;
        canvas.focus();
        Module.callMain(args);
      },
      onAbort: (what) => fail("The engine stopped: " + what),
      zelkinEvent: (event) => {
        page.events.push({ event, ms: performance.now() });
        if (!event.startsWith("exit ")) return;
        const status = Number(event.slice(5));
        if (status !== 0) {
          const reason = lastErrors.filter((l) => l.startsWith("zelkin:")).pop() || "";
          fail("The game stopped." + (reason ? "\n" + reason.replace(/^zelkin: /, "") : ""));
        } else if (script === null) {
          show("The game has ended. Reload the page to play again.", false);
        }
        page.exitStatus = status;
      },
    };
    const engine = document.createElement("script");
    engine.src = "zelkin.js";
    engine.onerror = () => fail("The engine (zelkin.js) cannot be loaded.");
    document.body.appendChild(engine);
  }

  start();
})();
