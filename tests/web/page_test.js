// The browser checks of the web build (scripts/test-web.sh runs them): the page is served on
// 127.0.0.1 and driven in headless Chromium, and what it shows and writes is compared with the
// native headless run. Usage: node page_test.js BUILD_WEB NATIVE_QVAR NATIVE_DATA_DIR OUT_DIR
'use strict';
const assert = require('assert');
const crypto = require('crypto');
const fs = require('fs');
const path = require('path');
const { execFileSync } = require('child_process');
const puppeteer = require('puppeteer-core');
const { serve } = require('./serve.js');

const [buildWeb, nativeQvar, nativeData, outDir] = process.argv.slice(2);
const TRACE = '/tmp/page-trace.jsonl';
const MENU_FIRST_FRAME = 3;  // 1: the flat green, 2: "Initialising...", 3: the menu
const sleep = (ms) => new Promise((r) => setTimeout(r, ms));
let failures = 0;

async function check(name, body) {
  try {
    const note = await body();
    console.log(`ok   ${name}${note ? ': ' + note : ''}`);
  } catch (e) {
    failures++;
    console.log(`FAIL ${name}: ${e.message}`);
  }
}

// A native headless run with `args` and a fresh player's folder holding `files`; gives its
// folder and its trace's hash and lines.
function runNative(name, args, files = {}) {
  const dir = path.join(outDir, name);
  fs.rmSync(dir, { recursive: true, force: true });
  fs.mkdirSync(path.join(dir, 'player'), { recursive: true });
  for (const [file, bytes] of Object.entries(files)) if (bytes) fs.writeFileSync(path.join(dir, 'player', file), bytes);
  const trace = path.join(dir, 'trace.jsonl');
  execFileSync(nativeQvar, ['--headless', ...args, '--data-dir', nativeData, '--user-dir', path.join(dir, 'player'),
                            '--frames-out', dir, '--frames', '1-3', '--trace', trace], { stdio: 'ignore' });
  const bytes = fs.existsSync(trace) ? fs.readFileSync(trace) : Buffer.alloc(0);
  return { dir, hash: crypto.createHash('sha256').update(bytes).digest('hex'), lines: bytes.toString('latin1').split('\n') };
}

// Frames 1 .. 3 of the native run of menu.txt with `prefs` (or none), decoded by the browser
// in `decoder`, a page of its own: work on the game's page would hold up its frames.
async function nativeStartFrames(decoder, name, prefs) {
  const { dir } = runNative(name, ['--input', path.join(__dirname, 'menu.txt')], { 'prefs.dat': prefs });
  const pngs = [1, 2, 3].map((n) => fs.readFileSync(path.join(dir, `frame-00000${n}.png`)).toString('base64'));
  return decoder.evaluate((list) => Promise.all(list.map(async (png) => {
    const image = new Image();
    image.src = 'data:image/png;base64,' + png;
    await image.decode();
    const ctx = Object.assign(document.createElement('canvas'), { width: 320, height: 200 }).getContext('2d');
    ctx.drawImage(image, 0, 0);
    return Array.from(ctx.getImageData(0, 0, 320, 200).data);
  })), pngs);
}

// The first line where two traces part, as "frame N" (the trace's own frame number) or null.
function whereTracesPart(a, b) {
  for (let i = 0; i < Math.max(a.length, b.length); i++) {
    if (a[i] === b[i]) continue;
    const frame = /"frame":(\d+)/.exec(a[i] || b[i] || '');
    const fields = (l) => (l || '').split(',');
    const [fa, fb] = [fields(a[i]), fields(b[i])];
    const k = fa.findIndex((f, j) => f !== fb[j]);
    return `line ${i + 1}${frame ? ' (frame ' + frame[1] + ')' : ''}: native ${fa[k] || '<end>'}, page ${fb[k] || '<end>'}`;
  }
  return null;
}

// Compares two canvas captures (RGBA) in colour; returns the first difference.
function firstDifference(a, b) {
  for (let i = 0; i < a.length; i++)
    if (i % 4 !== 3 && a[i] !== b[i]) return `pixel (${(i >> 2) % 320}, ${Math.floor(i / 1280)}) differs`;
  return null;
}

// Reads the canvas as each of the first frames is put on it (the page calls onQvarFrame).
function watchFirstFrames() {
  window.qvarCaptured = {};
  window.qvarFrameWatch = (n) => {
    if (n > 3) return;
    const ctx = document.getElementById('screen').getContext('2d');
    window.qvarCaptured[n] = Array.from(ctx.getImageData(0, 0, 320, 200).data);
  };
}

async function capturedFrames(page) {
  await page.waitForFunction(() => window.qvarCaptured && window.qvarCaptured[3], { timeout: 20000 });
  return page.evaluate(() => [1, 2, 3].map((n) => window.qvarCaptured[n]));
}

// Clicks play-field pixel (x, y) of the canvas, whatever its scale, holding the button `holdMs`.
async function clickField(page, x, y, holdMs = 60) {
  const r = await page.evaluate(() => {
    const b = document.getElementById('screen').getBoundingClientRect();
    return { left: b.left, top: b.top, width: b.width, height: b.height };
  });
  await page.mouse.move(r.left + (x + 0.5) * r.width / 320, r.top + (y + 0.5) * r.height / 200);
  await sleep(100);
  await page.mouse.down();
  await sleep(holdMs);
  await page.mouse.up();
  await sleep(150);
}

async function readFile(page, file) {
  return page.evaluate((f) => { try { return Array.from(window.Module.FS.readFile(f)); } catch (e) { return null; } }, file);
}

async function traceLines(page) {
  const bytes = await readFile(page, TRACE);
  if (!bytes) return [];
  return Buffer.from(bytes).toString('latin1').split('\n').filter((l) => l.endsWith('}')).map((l) => JSON.parse(l));
}

// Plays a recording ({bytes}) or a script ({text, saved}) headless in the page.
function playInPage(page, input) {
  return page.evaluate(async ({ bytes, text, saved }) => {
    const r = bytes ? await window.qvar.playRecording(new Uint8Array(bytes), 'run.qvr')
                    : await window.qvar.playScript(text, saved ? { 'saved.dat': new Uint8Array(saved) } : {});
    return { status: r.status, frames: r.frames, ms: r.ms, hash: r.hash, trace: new TextDecoder('latin1').decode(r.trace) };
  }, input);
}

async function main() {
  fs.mkdirSync(outDir, { recursive: true });
  const server = await serve(buildWeb);
  const url = `http://127.0.0.1:${server.address().port}/?trace=${TRACE}`;
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-timer-throttling', '--disable-renderer-backgrounding'],
    userDataDir: fs.mkdtempSync(path.join(outDir, 'profile-')),
  });
  try {
    const decoder = await browser.newPage(), page = await browser.newPage();  // the game's page in front
    page.on('pageerror', (e) => { failures++; console.log('FAIL page error: ' + e.message); });
    await page.setViewport({ width: 1000, height: 700 });
    await page.evaluateOnNewDocument(watchFirstFrames);
    await page.goto(url);
    let prefs = null, plain = null;  // the saved prefs.dat; the native run's frames at gamma 1

    await check('the green frame, "Initialising..." and the menu match the native run pixel for pixel', async () => {
      const browserFrames = await capturedFrames(page);
      plain = await nativeStartFrames(decoder, 'native-gamma-1', null);
      for (let i = 0; i < 3; i++) {
        const d = firstDifference(browserFrames[i], plain[i]);
        if (d) throw new Error(`frame ${i + 1}: ${d}`);
      }
      await page.screenshot({ path: path.join(outDir, 'menu.png') });
    });

    await check('a gamma set in Options is stored', async () => {
      await clickField(page, 60, 112);           // "Options"
      await sleep(300);
      await clickField(page, 147, 62, 400);      // hold the right arrow: gamma rises 1% a frame
      await clickField(page, 60, 82);            // "Back" saves prefs.dat
      await page.waitForFunction(() => window.Module.qvarSyncs >= 2 && !window.Module.qvarSyncing, { timeout: 10000 });
      prefs = Buffer.from(await readFile(page, '/player/prefs.dat'));
      const gamma = prefs.readFloatLE(0);
      assert(gamma > 1.05, `gamma ${gamma} after holding the arrow`);
      return `gamma ${gamma.toFixed(2)}`;
    });

    await check('a reload keeps the gamma and shows the menu in it', async () => {
      await page.reload();
      const browserFrames = await capturedFrames(page);
      const kept = Buffer.from(await readFile(page, '/player/prefs.dat'));
      assert(prefs && kept.equals(prefs), 'prefs.dat after the reload differs from the one saved');
      const native = await nativeStartFrames(decoder, 'native-gamma-kept', prefs);
      const d = firstDifference(browserFrames[MENU_FIRST_FRAME - 1], native[MENU_FIRST_FRAME - 1]);
      if (d) throw new Error('menu frame: ' + d);
      assert(!plain || firstDifference(browserFrames[MENU_FIRST_FRAME - 1], plain[MENU_FIRST_FRAME - 1]), 'the menu shows gamma 1.0');
    });

    await check('a click on "Start" starts a game', async () => {
      await sleep(300);
      await clickField(page, 60, 82);
      await page.waitForFunction(async (t) => {
        try { return window.Module.FS.readFile(t).length > 4000; } catch (e) { return false; }
      }, { timeout: 10000 }, TRACE);
      const lines = await traceLines(page);
      assert.deepStrictEqual([lines[0].frame, lines[0].ships, lines[0].level], [1, 3, 0]);
    });

    await check('a key press fires', async () => {
      const before = await traceLines(page);
      assert(before.every((l) => l.shots === 0), 'shots before any key was pressed');
      await page.keyboard.down('Space');
      await sleep(60);
      await page.keyboard.up('Space');
      await sleep(800);
      const after = (await traceLines(page)).slice(before.length);
      assert(after.some((l) => l.shots > 0), 'no shot after Space');
      await page.keyboard.down('ArrowUp');
      await sleep(500);
      await page.keyboard.up('ArrowUp');
      await page.keyboard.down('Space');
      await sleep(30);
      await page.screenshot({ path: path.join(outDir, 'game.png') });
      await page.keyboard.up('Space');
    });

    await check('game frames are paced at 100 a second', async () => {
      await page.evaluate(() => window.qvar.frameReport(true));
      const t0 = Date.now();
      await sleep(3000);
      const r = await page.evaluate(() => window.qvar.frameReport());
      const rate = r.frames * 1000 / (Date.now() - t0);
      assert(rate > 80 && rate < 105, `${rate.toFixed(1)} frames a second`);
      return `${rate.toFixed(1)} frames/s; median/99th percentile (ms): interval ${r.interval_median}/` +
             `${r.interval_p99}, work ${r.work_median}/${r.work_p99}, present ${r.present_median}/${r.present_p99}`;
    });

    await check('the download button gives this visit\'s recording, which replays the game played in the page', async () => {
      const downloads = path.join(outDir, 'downloads');
      fs.mkdirSync(downloads, { recursive: true });
      const cdp = await page.target().createCDPSession();
      await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
      await page.click('#download-recording');
      let file = null;
      for (let i = 0; i < 50 && !file; i++, await sleep(100))
        file = fs.readdirSync(downloads).find((f) => /^qvar-\d{8}-\d{4}\.qvr$/.test(f));
      assert(file, 'nothing was downloaded: ' + fs.readdirSync(downloads).join(', '));
      const bytes = fs.readFileSync(path.join(downloads, file));
      assert.strictEqual(bytes.subarray(0, 8).toString('latin1'), 'QVARREC\x1a');
      const result = await playInPage(page, { bytes: Array.from(bytes) });
      assert.strictEqual(result.status, 0);
      const live = Buffer.from(await readFile(page, TRACE)).toString('latin1').split('\n');
      const replayed = result.trace.split('\n').filter((l) => l.endsWith('}'));
      assert(replayed.length > 400, `${replayed.length} game frames replayed`);
      // the live run goes on while the recording is read: its last frame may not be written yet
      const parted = whereTracesPart(live.slice(0, replayed.length - 1), replayed.slice(0, -1));
      if (parted) {  // kept beside the downloaded recording, to find out why
        fs.writeFileSync(path.join(downloads, 'live-trace.jsonl'), live.join('\n'), 'latin1');
        fs.writeFileSync(path.join(downloads, 'replayed-trace.jsonl'), result.trace, 'latin1');
      }
      assert(!parted, `the replay and the live game part at ${parted} (traces and recording in ${downloads})`);
      return `${replayed.length} game frames replayed alike`;
    });

    // The regression recordings made natively (in the window), and two scripts: level 1 from the
    // menu and level 860 from a saved.dat that reached every tenth level with 3 ships. The
    // game's own sine and cosine make the browser's libc irrelevant, so every trace must match.
    // A script is played twice, as the second run's time (hot code compiled) is a frame's cost.
    const reached = Buffer.alloc(1001);
    reached.fill(3, 1, 101);
    const played = ['level-1', 'every-screen', 'level-50'].map((n) => [n + '.qvr', path.join(__dirname, '..', 'recordings', n + '.qvr')])
      .concat([['game.txt', path.join(__dirname, 'game.txt')], ['level860.txt', path.join(__dirname, 'level860.txt'), reached]]);
    for (const [name, file, saved] of played) {
      await check(`${name} played in the page gives the native trace hash`, async () => {
        const script = name.endsWith('.txt');
        const input = script ? { text: fs.readFileSync(file, 'latin1'), saved: saved && Array.from(saved) } : { bytes: Array.from(fs.readFileSync(file)) };
        const results = [await playInPage(page, input)];
        if (script) results.push(await playInPage(page, input));
        const native = runNative('native-run', [script ? '--input' : '--playback', file], { 'saved.dat': saved });
        for (const result of results) {
          assert.strictEqual(result.status, 0);
          assert(!script || result.frames > 400, `${result.frames} game frames`);
          if (result.hash === native.hash) continue;
          fs.writeFileSync(path.join(outDir, name + '-page-trace.jsonl'), result.trace, 'latin1');
          throw new Error('trace hashes differ; the traces part at ' + whereTracesPart(native.lines, result.trace.split('\n')));
        }
        const last = results[results.length - 1];
        return `${last.frames} game frames in ${last.ms.toFixed(0)} ms, ${(last.ms / last.frames).toFixed(3)} ms a frame` +
               (script ? ` (first run ${results[0].ms.toFixed(0)} ms)` : '') + `, SHA-256 ${native.hash.slice(0, 16)}...`;
      });
    }

    // Drops a file on the page, which tells what became of it in #dropped.
    const drop = (name, bytes) => page.evaluate((n, b) => {
      const data = new DataTransfer();
      data.items.add(new File([new Uint8Array(b)], n));
      document.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
    }, name, Array.from(Buffer.from(bytes)));
    const dropped = async (pattern, timeout) => {
      await page.waitForFunction((p) => new RegExp(p).test(document.getElementById('dropped').textContent), { timeout }, pattern.source);
      return page.$eval('#dropped', (e) => e.textContent + ' ' + (e.querySelector('a') ? e.querySelector('a').download : ''));
    };
    await check('a script or a recording dropped on the page is played, or its faults shown in one line', async () => {
      const script = path.join(__dirname, 'game.txt'), recording = path.join(__dirname, '..', 'recordings', 'every-screen.qvr');
      await drop('game.txt', fs.readFileSync(script));
      let text = await dropped(/SHA-256/, 20000);
      assert(text.includes(runNative('native-trace', ['--input', script]).hash) && text.includes('game-trace.jsonl'), text);
      await drop('bad.txt', 'f5 jump 3\n');
      await dropped(/bad\.txt:1/, 5000);
      await drop('every-screen.qvr', fs.readFileSync(recording));
      text = await dropped(/every-screen\.qvr: .*SHA-256/, 30000);
      const native = runNative('native-playback', ['--playback', recording]);
      assert(text.includes(native.hash) && text.includes('every-screen-trace.jsonl'), text);
      const other = fs.readFileSync(recording);
      other[8] = 2;  // the format: one this qvar does not play
      await drop('other.qvr', other);
      const refusal = await dropped(/other\.qvr/, 5000);
      assert(/recording format 2/.test(refusal) && !/SHA-256/.test(refusal), refusal);
      return refusal;
    });
  } finally {
    await browser.close();
    server.close();
  }
  console.log(failures === 0 ? 'web: all checks passed' : `web: ${failures} check(s) failed`);
  process.exit(failures === 0 ? 0 : 1);
}

main().catch((e) => { console.error(e); process.exit(1); });
