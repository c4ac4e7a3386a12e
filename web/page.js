// The page around the game: the canvas's whole-number scale, full screen, the message box,
// the run's recording, dropped scripts and recordings, and the hooks the browser tests use. Loaded before qvar.js.
(() => {
'use strict';

const params = new URLSearchParams(location.search);
const stage = document.getElementById('stage');
const canvas = document.getElementById('screen');
const aspectButton = document.getElementById('aspect');
const dropped = document.getElementById('dropped');

// --- the picture's size: the largest whole multiple of 320x200 that fits (4:3 stretches
// the rows by 6/5, as a 320x200 picture showed on a 4:3 monitor) ---
let fourThree = localStorage.getItem('qvar.aspect') === '4:3';

function fitCanvas() {
  const rowsPer200 = fourThree ? 240 : 200;
  const scale = Math.max(1, Math.floor(Math.min(stage.clientWidth / 320, stage.clientHeight / rowsPer200)));
  canvas.style.width = (320 * scale) + 'px';
  canvas.style.height = (rowsPer200 * scale) + 'px';
  aspectButton.setAttribute('aria-pressed', String(fourThree));
}
window.addEventListener('resize', fitCanvas);
document.addEventListener('fullscreenchange', fitCanvas);
aspectButton.addEventListener('click', () => {
  fourThree = !fourThree;
  localStorage.setItem('qvar.aspect', fourThree ? '4:3' : '16:10');
  fitCanvas();
  canvas.focus();
});
fitCanvas();

// --- full screen, on the button and on Alt+Enter ---
function toggleFullscreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
}
document.getElementById('fullscreen').addEventListener('click', () => { toggleFullscreen(); canvas.focus(); });
window.addEventListener('keydown', (e) => {
  if (e.altKey && e.key === 'Enter') { e.preventDefault(); toggleFullscreen(); }
}, true);
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// --- the game's message box: it waits until OK ---
function showMessageBox(caption, text, done) {
  const overlay = document.getElementById('message');
  document.getElementById('message-caption').textContent = caption;
  document.getElementById('message-text').textContent = text;
  overlay.classList.add('shown');
  const ok = document.getElementById('message-ok');
  ok.focus();
  ok.onclick = () => { overlay.classList.remove('shown'); canvas.focus(); done(); };
}

function programEnded(status) {
  showMessageBox('QVAR', status === 0 ? 'Thanks for playing.' : 'The game has stopped.', () => location.reload());
  document.getElementById('message-ok').textContent = 'Play again';
}

// --- headless runs: an input script or a recording played fast, its trace and that trace's hash ---
let runCount = 0;
let runMessages = null;  // what a headless run writes to stderr, while one runs
const RUN_RECORDING = '/tmp/qvar-run.qvr';  // this visit's whole run, recorded as it goes
const RECORDING_MAGIC = 'QVARREC';

async function sha256Hex(bytes) {
  const digest = await crypto.subtle.digest('SHA-256', bytes);
  return Array.from(new Uint8Array(digest), (b) => b.toString(16).padStart(2, '0')).join('');
}

// Calls an exported C function with string arguments. Module.ccall would wait for the game's
// own run to end, since the game is always in the middle of a wait when the page runs code.
function callWithStrings(fn, strings) {
  const pointers = strings.map((s) => {
    const size = Module.lengthBytesUTF8(s) + 1;
    const p = Module._malloc(size);
    Module.stringToUTF8(s, p, size);
    return p;
  });
  try { return fn(...pointers); } finally { pointers.forEach((p) => Module._free(p)); }
}

// Runs `hook` (a headless run's export) on `input` written as `name` in a fresh folder, with
// a fresh player's folder holding `playerFiles` ({name: bytes}); returns {status, frames, ms,
// hash, trace, messages}: frames are the trace's lines (game frames), ms the run's time,
// messages what it wrote to stderr (a faulty script's errors or a refused recording's reason).
async function runHeadless(hook, input, name, playerFiles) {
  const dir = '/tmp/run-' + (++runCount);
  Module.FS.mkdirTree(dir + '/player');
  for (const [file, bytes] of Object.entries(playerFiles)) Module.FS.writeFile(dir + '/player/' + file, bytes);
  const inputPath = dir + '/' + name.replace(/[^A-Za-z0-9._-]/g, '_');
  Module.FS.writeFile(inputPath, input);
  const started = performance.now();
  runMessages = [];
  const status = callWithStrings(hook, [inputPath, dir + '/trace.jsonl', dir + '/player']);
  const ms = performance.now() - started;
  const messages = runMessages.map((m) => m.split(dir + '/').join(''));
  runMessages = null;
  let trace = new Uint8Array(0);
  try { trace = Module.FS.readFile(dir + '/trace.jsonl'); } catch (e) { /* no game was played */ }
  Module.FS.unlink(inputPath);
  let frames = 0;
  for (const b of trace) if (b === 10) frames++;
  return { status, frames, ms, hash: await sha256Hex(trace), trace, messages };
}

// Plays `scriptText` as `qvar --headless --input`.
function playScript(scriptText, playerFiles = {}, name = 'script.txt') {
  return runHeadless(Module._qvar_web_scripted_run, scriptText, name, playerFiles);
}

// Plays the recording `bytes` as `qvar --headless --playback`.
function playRecording(bytes, name = 'recording.qvr') {
  return runHeadless(Module._qvar_web_playback_run, bytes, name, {});
}

function isRecording(bytes) {
  return bytes.length >= RECORDING_MAGIC.length &&
         String.fromCharCode(...bytes.subarray(0, RECORDING_MAGIC.length)) === RECORDING_MAGIC;
}

// The recording of this visit's run so far: every game played in the page since it opened.
function runRecording() {
  try { return Module.FS.readFile(RUN_RECORDING); } catch (e) { return null; }
}

function offerDownload(bytes, type, fileName, label) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([bytes], { type }));
  link.download = fileName;
  link.textContent = label;
  return link;
}

document.getElementById('download-recording').addEventListener('click', () => {
  const bytes = runRecording();
  if (!bytes) { dropped.textContent = 'Nothing has been recorded yet.'; return; }
  const stamp = new Date().toISOString().slice(0, 16).replace(/[-:]/g, '').replace('T', '-');
  const link = offerDownload(bytes, 'application/octet-stream', 'qvar-' + stamp + '.qvr', '');
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
  canvas.focus();
});

// A dropped recording (known by its magic) is played back, anything else as an input script;
// the page shows the run's frames, time and trace hash and offers the trace, or why it was not run.
document.addEventListener('dragover', (e) => e.preventDefault());
document.addEventListener('drop', async (e) => {
  e.preventDefault();
  const file = e.dataTransfer.files[0];
  if (!file) return;
  dropped.textContent = 'Playing ' + file.name + '...';
  const bytes = new Uint8Array(await file.arrayBuffer());
  const recording = isRecording(bytes);
  const result = recording ? await playRecording(bytes, file.name) : await playScript(await file.text(), {}, file.name);
  const notes = result.messages.filter((m) => !m.startsWith('qvar: headless'));
  if (result.status !== 0 && (result.status === 2 || recording)) {  // a faulty script or a refused recording
    dropped.textContent = notes.join(' · ');
    return;
  }
  dropped.textContent = file.name + ': ' + result.frames + ' game frames in ' + result.ms.toFixed(0) +
      ' ms, trace SHA-256 ' + result.hash + ' ';
  dropped.appendChild(offerDownload(result.trace, 'application/x-ndjson',
                                    file.name.replace(/\.[^.]*$/, '') + '-trace.jsonl', 'download the trace'));
  if (recording && notes.length) dropped.appendChild(document.createTextNode(' · ' + notes.join(' · ')));
});

// --- the module: the command line from the page's address (?trace=/tmp/t.jsonl for tests) ---
const args = ['--record', RUN_RECORDING];
if (params.get('trace')) args.push('--trace', params.get('trace'));

const Module = window.Module = {
  arguments: args,
  qvarMessageBox: showMessageBox,
  onQvarEnded: programEnded,
  onQvarFrame: (n) => { if (window.qvarFrameWatch) window.qvarFrameWatch(n); },
  print: (text) => console.log(text),
  printErr: (text) => { if (runMessages) runMessages.push(text); console.warn(text); },
};
window.qvar = {
  playScript,
  playRecording,
  runRecording,
  // The frame timings since the page opened or since the last report that asked for `restart`.
  frameReport: (restart = false) => JSON.parse(Module.UTF8ToString(Module._qvar_web_frame_report(restart ? 1 : 0))),
};
canvas.focus();
})();
