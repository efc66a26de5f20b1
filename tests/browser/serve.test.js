// zarn-host serve, end to end in Debian's chromium, headless: the demo's panels as the
// operator sees them, a crosspoint clicked, a button pressed with the mouse and with the
// keyboard, a second page following, a source renamed, bad socket messages, the session
// downloaded as a scenario that passes, a screenshot against the reference, a clean stop;
// then a router linked to zarn-host router-sim: a crosspoint clicked is a take the router
// confirms, and the page shows the link away while the router is gone, and back.
//
//   node serve.test.js <zarn-host> [<chromium>]      exit 0 passed, 1 failed, 77 skipped
// UPDATE_REFERENCE=1 writes the reference screenshot instead of comparing with it.
"use strict";
const assert = require("node:assert/strict");
const { spawn, spawnSync } = require("node:child_process");
const fs = require("node:fs");
const path = require("node:path");
const os = require("node:os");

const host = process.argv[2];
const browserPath = process.argv[3] || "/usr/bin/chromium";
const reference = path.join(__dirname, "reference", "demo-panels.png");

function skip(why) {
  console.log(`skipped: ${why}`);
  process.exit(77);
}

let playwright, PNG, pixelmatch;
try {
  playwright = require("playwright-core");
  ({ PNG } = require("pngjs"));
  pixelmatch = require("pixelmatch");
} catch {
  skip("run npm ci in tests/browser first");
}
if (!host || !fs.existsSync(host)) skip(`no zarn-host at ${host}`);
if (!fs.existsSync(browserPath)) skip(`no browser at ${browserPath}`);

// zarn-host with `args`; `address` resolves with what `pattern` finds in its output: the
// page's address for serve, a router's port for router-sim.
function start(args, pattern) {
  const server = spawn(host, args, { stdio: ["ignore", "pipe", "inherit"] });
  let output = "";
  const address = new Promise((resolve, reject) => {
    server.stdout.on("data", chunk => {
      output += chunk;
      const found = output.match(pattern);
      if (found) resolve(found[1]);
    });
    server.on("exit", code => reject(new Error(`zarn-host ${args[0]} ended with ${code}:\n${output}`)));
    setTimeout(() => reject(new Error(`zarn-host ${args[0]} did not come up`)), 15000);
  });
  return { server, address, output: () => output };
}

// zarn-host serve on a port of the system's choosing; resolves with the page's address.
function startServer(more = []) {
  return start(["serve", "--quiet", "--listen", "127.0.0.1:0", ...more], /(http:\/\/\S+\/)/);
}

// zarn-host router-sim with the demo's routers, router 1 over Videohub.
function startRouter(port) {
  return start(["router-sim", "--videohub", `1:${port}`],
               /served over videohub at 127\.0\.0\.1:(\d+)/);
}

async function stopped(child) {
  const ended = new Promise(resolve => child.on("exit", (code, signal) => resolve(code ?? signal)));
  child.kill("SIGTERM");
  return ended;
}

const instance = (page, name) => page.locator(`.instance[data-instance="${name}"]`);
const label = (page, name, control) => instance(page, name).locator(`[data-control="${control}"] .text`);
const button = (page, name) => instance(page, name).locator("button.control");

async function selectedNames(page) {
  return page.$$eval(".instance.selected", nodes => nodes.map(n => n.dataset.instance));
}

async function expectText(locator, text) {
  await locator.filter({ hasText: text }).waitFor({ timeout: 5000 }).catch(() => {});
  assert.equal((await locator.textContent()).trim(), text);
}

// A socket of its own, to send what no page would: gives the answers to `messages`.
async function rawSocket(page, messages) {
  return page.evaluate(async sent => {
    const socket = new WebSocket(`ws://${location.host}/ws`);
    const answers = [];
    await new Promise(resolve => socket.addEventListener("open", resolve));
    socket.addEventListener("message", event => {
      const message = JSON.parse(event.data);
      if (message.type === "error" || message.type === "pong") answers.push(message);
    });
    for (const text of sent) socket.send(text);
    socket.send(JSON.stringify({ type: "ping" }));
    await new Promise(resolve => {
      const wait = () => answers.some(a => a.type === "pong") ? resolve() : setTimeout(wait, 20);
      wait();
    });
    socket.close();
    return answers;
  }, messages);
}

function compareScreenshot(shot) {
  if (process.env.UPDATE_REFERENCE === "1" || !fs.existsSync(reference)) {
    fs.mkdirSync(path.dirname(reference), { recursive: true });
    fs.writeFileSync(reference, shot);
    console.log(`wrote the reference ${reference}`);
    return;
  }
  const expected = PNG.sync.read(fs.readFileSync(reference));
  const actual = PNG.sync.read(shot);
  assert.equal(actual.width, expected.width, "the screenshot's width");
  assert.equal(actual.height, expected.height, "the screenshot's height");
  const differing = pixelmatch(expected.data, actual.data, null, actual.width, actual.height,
                               { threshold: 0.2 });
  const share = differing / (actual.width * actual.height);
  console.log(`screenshot: ${(share * 100).toFixed(2)} % of the pixels differ from the reference`);
  assert.ok(share < 0.01, `${(share * 100).toFixed(2)} % of the pixels differ from the reference`);
}

async function main() {
  const { server, address, output } = startServer();
  const url = await address;
  const browser = await playwright.chromium.launch({
    executablePath: browserPath,
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--font-render-hinting=none"],
  });
  let failed = false;
  try {
    const context = await browser.newContext({ viewport: { width: 1400, height: 900 } });
    const page = await context.newPage();
    await page.goto(url);
    await page.locator(".instance").nth(3).waitFor();

    // The demo as it ended: captions, tallies, Transmission selected.
    assert.equal(await page.locator(".instance").count(), 4);
    await expectText(button(page, "dest12"), "Studio A");
    await expectText(label(page, "dest12", "Vid"), "CAM 3");
    await expectText(label(page, "dest14", "Aud"), "VTR 1 A");
    assert.deepEqual(await selectedNames(page), ["dest15"]);
    compareScreenshot(await page.locator("main > section").first().screenshot());

    // A crosspoint clicked: the tally follows.
    await page.click('button[data-device="1"][data-destination="17"][data-source="2"]');
    await expectText(label(page, "dest12", "Vid"), "CAM 2");

    // Pressed and released with the mouse: the selection moves in the group.
    await button(page, "dest12").dispatchEvent("mousedown");
    await button(page, "dest12").dispatchEvent("mouseup");
    await instance(page, "dest12").and(page.locator(".selected")).waitFor({ timeout: 5000 });
    assert.deepEqual(await selectedNames(page), ["dest12"]);
    // And with the keyboard.
    await button(page, "dest13").focus();
    await page.keyboard.down(" ");
    await page.keyboard.up(" ");
    await instance(page, "dest13").and(page.locator(".selected")).waitFor({ timeout: 5000 });
    assert.deepEqual(await selectedNames(page), ["dest13"]);

    // A second page gets the state as it is now, and follows what the first does.
    const second = await context.newPage();
    await second.goto(url);
    await second.locator(".instance").nth(3).waitFor();
    await expectText(label(second, "dest12", "Vid"), "CAM 2");
    assert.deepEqual(await selectedNames(second), ["dest13"]);
    await page.click('button[data-device="2"][data-destination="33"][data-source="5"]');
    await expectText(label(second, "dest12", "Aud"), "MUSIC");

    // A source renamed: every tally routed to it shows the new name.
    page.once("dialog", dialog => dialog.accept("MUSIC 2"));
    await page.dblclick('#routers [data-router="2"] th.source[data-source="5"]');
    await expectText(label(second, "dest12", "Aud"), "MUSIC 2");

    // Bad messages are answered with an error and change nothing; the page goes on.
    const answers = await rawSocket(page, [
      "nonsense", "[]", JSON.stringify({ type: "frobnicate" }),
      JSON.stringify({ type: "route", device: 1, destination: 0, source: 1 }),
      JSON.stringify({ type: "route", device: 99, destination: 1, source: 1 }),
      JSON.stringify({ type: "press", instance: "ghost", control: "Button" }),
      "x".repeat(70 * 1024),
    ]);
    assert.equal(answers.filter(a => a.type === "error").length, 7, JSON.stringify(answers));
    await expectText(label(page, "dest12", "Vid"), "CAM 2");
    await page.click('button[data-device="1"][data-destination="17"][data-source="4"]');
    await expectText(label(second, "dest12", "Vid"), "VTR 1");

    // The transcript beside the panel has the messages, and can be filtered.
    await page.locator("#transcript div", { hasText: "TP 'text=VTR 1' '1' 'Vid'" }).first().waitFor();
    await page.selectOption("#filter-instance", "dest14");
    const shownNames = await page.$$eval("#transcript div", rows => rows.map(r => r.textContent));
    assert.ok(shownNames.length > 0 && shownNames.every(t => t.includes("dest14")),
              "filtered by instance");

    // The session downloaded is a scenario that passes.
    const download = await page.evaluate(async () => (await fetch("scenario")).text());
    assert.match(download, /^route 1 17 2$/m);
    assert.match(download, /^release dest12 Button$/m);
    assert.match(download, /^expect property dest12 Vid text "VTR 1"$/m);
    const file = path.join(os.tmpdir(), `zarn-serve-${process.pid}.scenario`);
    fs.writeFileSync(file, download);
    const replay = spawnSync(host, ["--quiet", file], { encoding: "utf8" });
    fs.unlinkSync(file);
    assert.equal(replay.status, 0, `the downloaded scenario: ${replay.stdout}${replay.stderr}`);

    // Unknown paths are 404.
    assert.equal(await page.evaluate(async () => (await fetch("nothing")).status), 404);

    await linkedRouter(browser);
  } catch (error) {
    failed = true;
    console.error(error);
  } finally {
    await browser.close();
  }
  // Stopped cleanly: every component destroyed, exit 0.
  const ended = new Promise(resolve => server.on("exit", code => resolve(code)));
  server.kill("SIGTERM");
  const code = await ended;
  if (code !== 0 || !output().includes("zarn-host serve: stopped")) {
    console.error(`zarn-host serve stopped with ${code}:\n${output()}`);
    failed = true;
  }
  console.log(failed ? "FAILED" : "passed");
  process.exit(failed ? 1 : 0);
}

// Router 1 of the page is a real router's: zarn-host router-sim, which is killed and
// started again on the same port.
async function linkedRouter(browser) {
  let router = startRouter(0);
  const port = await router.address;
  const { server, address, output } =
    startServer(["--router", `1 Hub videohub 127.0.0.1:${port}`]);
  const url = await address;
  const page = await (await browser.newContext({ viewport: { width: 1400, height: 900 } })).newPage();
  try {
    await page.goto(url);
    await page.locator(".instance").nth(3).waitFor();
    const link = page.locator('[data-router="1"] .link');
    await expectText(link, "up");
    await expectText(label(page, "dest12", "Vid"), "CAM 3");

    // A crosspoint clicked: a take, which the router confirms.
    await page.click('button[data-device="1"][data-destination="17"][data-source="2"]');
    await expectText(label(page, "dest12", "Vid"), "CAM 2");
    assert.match(router.output(), /destination 17 <- source 2/, "the router made the route");

    // The router dies: the page says so, and the tally keeps what it showed.
    router.server.kill("SIGKILL");
    await page.locator('[data-router="1"] .link[data-link="away"]').waitFor({ timeout: 10000 });
    await expectText(label(page, "dest12", "Vid"), "CAM 2");

    // Back as it started: up, and the tally is the router's again.
    router = startRouter(port);
    await router.address;
    await page.locator('[data-router="1"] .link[data-link="up"]').waitFor({ timeout: 20000 });
    await expectText(label(page, "dest12", "Vid"), "CAM 3");
  } finally {
    await page.context().close();
    const code = await stopped(server);
    await stopped(router.server);
    assert.equal(code, 0, `zarn-host serve with a linked router stopped with ${code}:\n${output()}`);
  }
}

main().catch(error => { console.error(error); process.exit(1); });
