// The page around the browser player: its controls stand in for the launcher, it fetches the
// production's pack and music with a progress bar, and starts the engine on a click (browsers
// let sound start only after one). ?at=MS shows one frame, paused and silent, in the whole window.
Module.canvas = document.getElementById("canvas");
Module.noInitialRun = true;

(function () {
  const PACK = "torvane.pak";
  const MUSIC = "music.ogg";
  const query = new URLSearchParams(location.search);
  // The engine's last log lines: what a fatal error logged before its message, shown under it.
  const recentLog = [];
  const page = {
    escapes: 0,
    state: "idle",
    times: {},  // when each state was reached (performance.now()), for measurements
    message: null,
    // Messages add up: the first says what went wrong, what follows is what it led to.
    showMessage(title, text) {
      const box = document.getElementById("message");
      if (page.message) {
        const more = document.createElement("div");
        more.textContent = "\n" + title + ": " + text;
        box.appendChild(more);
      } else {
        box.querySelector("b").textContent = title;
        box.querySelector("span").textContent = text;
      }
      box.style.display = "block";
      page.message = (page.message ? page.message + "\n" : "") + title + ": " + text;
    },
    reportState(state) {
      if (state === "failed" && page.message && recentLog.length) {
        const details = document.createElement("div");
        details.textContent = "\n" + recentLog.join("\n");
        document.getElementById("message").appendChild(details);
      }
      page.state = state;
      page.times[state] = performance.now();
      document.body.dataset.state = state;
      if (state !== "loading") document.getElementById("download").style.display = "none";
    },
  };
  Module.torvanePage = page;
  Module.print = (text) => console.log(text);
  Module.printErr = (text) => {
    console.warn(text);
    recentLog.push(text);
    if (recentLog.length > 6) recentLog.shift();
  };

  const at = query.get("at");
  const paused = at !== null;
  if (query.has("fsaa")) document.getElementById("fsaa").value = query.get("fsaa");
  if (query.has("aspect")) document.getElementById("aspect").value = query.get("aspect");
  if (paused) document.body.classList.add("frame");

  // The frame has the canvas's size in device pixels; the engine letter-boxes the aspect in it.
  function frameSize() {
    const box = Module.canvas.getBoundingClientRect();
    const ratio = paused ? 1 : window.devicePixelRatio || 1;
    return [Math.max(16, Math.round(box.width * ratio)), Math.max(16, Math.round(box.height * ratio))];
  }

  function showSize() {
    const [width, height] = frameSize();
    document.getElementById("size").textContent = width + "×" + height;
  }

  function progress(fraction) {
    const bar = document.getElementById("download");
    bar.style.display = "block";
    bar.firstElementChild.style.width = Math.round(fraction * 100) + "%";
  }

  // Fetches every file, reporting the bytes received of all of them together.
  async function download(names) {
    const responses = await Promise.all(names.map(async (name) => {
      let response;
      try {
        response = await fetch(name);
      } catch (error) {
        throw new Error(name + " could not be downloaded (" + error.message + ").");
      }
      if (!response.ok) throw new Error(name + " could not be downloaded (HTTP " + response.status + ").");
      return response;
    }));
    const total = responses.reduce((sum, r) => sum + Number(r.headers.get("Content-Length") || 0), 0);
    let received = 0;
    return Promise.all(responses.map(async (response) => {
      const reader = response.body.getReader();
      const chunks = [];
      for (;;) {
        const { done, value } = await reader.read();
        if (done) break;
        chunks.push(value);
        received += value.length;
        if (total > 0) progress(Math.min(1, received / total));
      }
      const bytes = new Uint8Array(chunks.reduce((n, c) => n + c.length, 0));
      let offset = 0;
      for (const chunk of chunks) { bytes.set(chunk, offset); offset += chunk.length; }
      return bytes;
    }));
  }

  function settings() {
    const [width, height] = frameSize();
    const args = ["--size", width + "x" + height, "--aspect", document.getElementById("aspect").value,
                  "--fsaa", document.getElementById("fsaa").value];
    if (document.getElementById("lowQuality").checked) args.push("--low-quality");
    if (paused) args.push("--at", at);
    return args;
  }

  let started = false;
  async function start() {
    if (started) return;
    started = true;
    document.getElementById("start").style.display = "none";
    page.times.start = performance.now();
    page.reportState("downloading");
    const names = paused ? [PACK] : [PACK, MUSIC];
    let files;
    try {
      files = await download(names);
    } catch (error) {
      page.showMessage("The production could not be loaded", error.message);
      page.reportState("failed");
      return;
    }
    await runtimeReady;
    names.forEach((name, i) => FS.writeFile("/" + name, files[i]));
    Module.callMain(settings());
  }

  const runtimeReady = new Promise((resolve) => { Module.onRuntimeInitialized = resolve; });
  window.addEventListener("keydown", (event) => {
    if (event.key === "Escape" && started) { page.escapes++; event.preventDefault(); }
  });
  document.getElementById("fullscreen").addEventListener("click", () => {
    document.getElementById("stage").requestFullscreen();
  });
  window.addEventListener("resize", showSize);
  showSize();
  if (paused) {
    start();
  } else {
    document.getElementById("start").addEventListener("click", start);
  }
})();
