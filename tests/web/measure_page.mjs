// Figures for docs/web.md: the showcase's page in headless Chromium at a 1280×720 canvas, from a
// loopback server: start-up to the first frame and the frame time while it plays.
//   node measure_page.mjs EXPORTED_FOLDER [SECONDS]
import fs from "node:fs";
import http from "node:http";
import path from "node:path";
import { createRequire } from "node:module";

const require = createRequire(import.meta.url);
const { chromium } = require("playwright-core");
const root = path.resolve(process.argv[2]);
const seconds = Number(process.argv[3] || 15);

const server = http.createServer((request, response) => {
  const file = path.join(root, path.normalize(new URL(request.url, "http://x").pathname));
  if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
    response.writeHead(404);
    response.end();
    return;
  }
  const type = file.endsWith(".wasm") ? "application/wasm" : file.endsWith(".js") ? "text/javascript" : "text/html";
  const bytes = fs.readFileSync(file);
  response.writeHead(200, { "Content-Type": type, "Content-Length": bytes.length });
  response.end(bytes);
});
await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
const browser = await chromium.launch({
  executablePath: process.env.TORVANE_CHROMIUM || "/usr/bin/chromium",
  args: ["--use-angle=swiftshader", "--enable-unsafe-swiftshader", "--no-sandbox", "--autoplay-policy=no-user-gesture-required"],
});
const page = await browser.newPage({ viewport: { width: 1280, height: 800 }, deviceScaleFactor: 1 });
await page.goto(`http://127.0.0.1:${server.address().port}/index.html?fsaa=0`);
const controls = await page.evaluate(() => document.getElementById("controls").getBoundingClientRect().height);
await page.setViewportSize({ width: 1280, height: 720 + Math.ceil(controls) });
await page.click("#start");
await page.waitForFunction(() => ["playing", "failed"].includes(document.body.dataset.state), null, { timeout: 600000 });
const frames = await page.evaluate((duration) => new Promise((resolve) => {
  const deltas = [];
  let last = performance.now();
  const end = last + duration * 1000;
  function step(now) {
    deltas.push(now - last);
    last = now;
    if (now < end) requestAnimationFrame(step); else resolve(deltas);
  }
  requestAnimationFrame(step);
}), seconds);
const times = await page.evaluate(() => Module.torvanePage.times);
const size = await page.evaluate(() => document.getElementById("size").textContent);
frames.sort((a, b) => a - b);
const median = frames[Math.floor(frames.length / 2)];
const mean = frames.reduce((a, b) => a + b, 0) / frames.length;
console.log(JSON.stringify({
  canvas: size,
  downloadMs: Math.round(times.loading - times.start),
  loadMs: Math.round(times.playing - times.loading),
  firstFrameAfterClickMs: Math.round(times.playing - times.start),
  frames: frames.length, medianFrameMs: Math.round(median * 10) / 10, meanFrameMs: Math.round(mean * 10) / 10,
}));
await browser.close();
server.close();
