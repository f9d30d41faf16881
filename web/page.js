// SPDX-License-Identifier: GPL-3.0-or-later
// The page around the game: loads it with its progress shown, lays it out
// centred at its own size (scaled down where the page is smaller), says so
// plainly when it cannot run, tells a finger's gestures where a finger
// plays, and offers to play again once the game has ended.
'use strict';

const wasmBytes = Number(document.currentScript.dataset.wasmBytes);
const loading = document.getElementById('loading');
const progress = document.getElementById('progress');
const message = document.getElementById('message');
const game = document.getElementById('game');
const ended = document.getElementById('ended');
const touchHelp = document.getElementById('touch-help');

// The scale at which the game is shown: 1, or less where the page is smaller.
let scale = 1;
// The most canvas pixels that Qt paints for each CSS pixel shown, in the
// steps that watchPace() takes down: at first all that the screen has.
const sharpnesses = [Infinity, 2, 1.5, 1];
let sharpness = 0;
// Whether the program has been loaded and runs.
let started = false;
// Stops watching the game's pace, once it has ended.
let stopWatching = () => {};
// The program's module, through which Qt learns of a new size of its screen.
let program = null;
// The game's box on the page, in CSS pixels, as layout() last placed it.
let shownBox = null;
// The note of what a finger does: not yet shown, shown, or gone for good.
let touchHelpState = 'unseen';
// How long the note stays beside the game, in milliseconds.
const touchHelpTime = 8000;

// Replaces the game, or its loading, by a message.
function fail(text) {
    hideTouchHelp();
    game.remove();
    loading.classList.add('failed');
    message.textContent = text;
}

// Fetches the game's .wasm with its progress shown, compiling it as it comes.
async function compiledModule(url) {
    let response;
    try {
        response = await fetch(url);
    } catch (error) {
        throw new Error(`${url} could not be fetched`);
    }
    if (!response.ok)
        throw new Error(`${url} could not be fetched (${response.status} ${response.statusText})`);
    let received = 0;
    const counted = response.body.pipeThrough(new TransformStream({
        transform(chunk, controller) {
            received += chunk.length;
            progress.value = Math.min(received / wasmBytes, 1);
            controller.enqueue(chunk);
        },
        flush() {
            message.textContent = 'Starting the game\u2026';
            progress.removeAttribute('value');
        },
    }));
    return WebAssembly.compileStreaming(new Response(counted, {headers: {'Content-Type': 'application/wasm'}}));
}

// Centres the game on whole pixels, at 1:1 where it fits, else scaled down
// to fit the page. Called when the game sets its size and when the page's
// size changes.
function layout() {
    const width = parseFloat(game.style.getPropertyValue('--game-width')) || game.offsetWidth;
    const height = parseFloat(game.style.getPropertyValue('--game-height')) || game.offsetHeight;
    const page = document.documentElement;
    scale = Math.min(1, page.clientWidth / width, page.clientHeight / height);
    shownBox = {left: Math.max(0, Math.floor((page.clientWidth - width * scale) / 2)),
                top: Math.max(0, Math.floor((page.clientHeight - height * scale) / 2)),
                width: width * scale, height: height * scale};
    game.style.transform = scale < 1 ? `scale(${scale})` : '';
    game.style.left = `${shownBox.left}px`;
    game.style.top = `${shownBox.top}px`;
    placeTouchHelp();
    if (program) {
        // Qt paints at the ratio at which the game shows: scaled down, it
        // paints no pixel that the screen cannot show.
        program.qtDevicePixelRatio = Math.min(devicePixelRatio, sharpnesses[sharpness]) * scale;
        program.qtResizeContainerElement(game);
    }
}

// The game's clock counts its ticks, a hundred a second: where it cannot
// paint that fast at the screen's pixel ratio, as on a slow phone, it would
// run in slow motion. Three seconds in a row under 95 ticks a second in a
// visible tab, Qt paints it at the next lower ratio, down to one canvas
// pixel for each CSS pixel shown. Returns a function that stops watching.
function watchPace() {
    let last = null, slow = 0;
    const timer = setInterval(() => {
        const now = {ticks: program.driftTicks(), time: performance.now()};
        const rate = last && (now.ticks - last.ticks) * 1000 / (now.time - last.time);
        last = document.hidden ? null : now;
        slow = rate !== null && rate < 95 ? slow + 1 : 0;
        if (slow < 3)
            return;
        slow = 0;
        last = null;
        const lower = sharpnesses.findIndex(value => value < Math.min(devicePixelRatio, sharpnesses[sharpness]));
        if (lower >= 0) {
            sharpness = lower;
            layout();
        }
    }, 1000);
    return () => clearInterval(timer);
}

// Qt sizes its screen, this container, and with it the game's full-screen
// window, by the container's box on the page, which a scale makes smaller:
// give it the box at scale 1.
const pageBox = Element.prototype.getBoundingClientRect;
game.getBoundingClientRect = () => {
    const box = pageBox.call(game);
    return new DOMRect(box.x, box.y, box.width / scale, box.height / scale);
};

// Qt places a pointer at its offset in the element it hit, plus that
// element's distance from the game's top left as measured on the page.
// Scaled down, that distance is scaled too while the offset is not: give
// Qt the offset that places the pointer where it is on the game. Runs
// before any handler of Qt's.
function unscale(event) {
    const target = event.composedPath()[0];
    if (scale === 1 || !(target instanceof Element) || !game.contains(target.getRootNode().host ?? null))
        return;
    const origin = game.getBoundingClientRect(), hit = target.getBoundingClientRect();
    Object.defineProperty(event, 'offsetX', {value: (event.clientX - origin.left) / scale - (hit.left - origin.left)});
    Object.defineProperty(event, 'offsetY', {value: (event.clientY - origin.top) / scale - (hit.top - origin.top)});
}

// On a phone the game takes the whole screen: the first touch asks the
// browser for full screen, where it allows that, as it lifts (the end of a
// touch is what lets a page ask). Leaving full screen leaves the game as it
// is; either way the page's new size lays it out again.
function fullScreenOnFirstTouch(event) {
    if (event.pointerType !== 'touch')
        return;
    window.removeEventListener('pointerup', fullScreenOnFirstTouch, {capture: true});
    const page = document.documentElement;
    if (document.fullscreenEnabled)
        page.requestFullscreen({navigationUI: 'hide'}).catch(() => {});
    else if (document.webkitFullscreenEnabled)
        page.webkitRequestFullscreen();
}

// The game's tips name mouse buttons. Where a finger plays, a note tells
// what it does: beside the loading screen on a touch screen, else from the
// first touch; never to a mouse. Once the game shows, the note moves into
// the largest band of the page that the game leaves free, never over it,
// and goes after a few seconds or a tap on it.
function showTouchHelp() {
    if (touchHelpState !== 'unseen')
        return;
    touchHelpState = 'shown';
    touchHelp.hidden = false;
    touchHelp.addEventListener('pointerdown', hideTouchHelp);
    placeTouchHelp();
}

function hideTouchHelp() {
    touchHelpState = 'gone';
    touchHelp.hidden = true;
}

// Places the note beside the shown game: called when the game shows and
// whenever layout() places it anew.
function placeTouchHelp() {
    if (touchHelpState !== 'shown' || !game.classList.contains('shown'))
        return;
    if (touchHelp.parentElement !== document.body) {
        document.body.append(touchHelp);
        touchHelp.classList.add('beside');
        setTimeout(hideTouchHelp, touchHelpTime);
    }
    const page = document.documentElement, box = shownBox;
    const below = box.top + box.height, right = box.left + box.width;
    const band = [
        {left: 0, top: 0, width: page.clientWidth, height: box.top},
        {left: 0, top: below, width: page.clientWidth, height: page.clientHeight - below},
        {left: 0, top: 0, width: box.left, height: page.clientHeight},
        {left: right, top: 0, width: page.clientWidth - right, height: page.clientHeight},
    ].filter(band => band.width >= 100 && band.height >= 60)
        .sort((a, b) => b.width * b.height - a.width * a.height)[0];
    if (!band) {
        hideTouchHelp();
        return;
    }
    // Whole pixels within the band.
    const left = Math.ceil(band.left), top = Math.ceil(band.top);
    touchHelp.style.left = `${left}px`;
    touchHelp.style.top = `${top}px`;
    touchHelp.style.width = `${Math.floor(band.left + band.width) - left}px`;
    touchHelp.style.height = `${Math.floor(band.top + band.height) - top}px`;
    document.getElementById('sideways').hidden = page.clientWidth > page.clientHeight;
}

// Qt keeps the keyboard's focus in a hidden input of its own at the end of
// the body: the game's keyboard, for Escape and Ctrl+Q, which takes no
// text. Named for assistive technology; and since the game takes nothing
// pasted, Qt's clipboard, which would refuse a paste, never sees one.
function nameKeyboard() {
    new MutationObserver(() => {
        for (const input of document.querySelectorAll('body > input:not([aria-label])'))
            input.setAttribute('aria-label', 'Drift Harbour keys');
    }).observe(document.body, {childList: true});
    window.addEventListener('paste', event => event.stopImmediatePropagation(), {capture: true});
}

// Shows the game once it has set its size, at its first frame.
function showWhenSized() {
    new MutationObserver((changes, observer) => {
        if (!game.style.getPropertyValue('--game-height'))
            return;
        observer.disconnect();
        layout();
        requestAnimationFrame(() => requestAnimationFrame(() => {
            game.classList.add('shown');
            loading.hidden = true;
            placeTouchHelp();
            performance.mark('first frame');
            // Two seconds for the browser's optimising compiler first.
            const watching = setTimeout(() => { stopWatching = watchPace(); }, 2000);
            stopWatching = () => clearTimeout(watching);
            // Once the game runs, the worker keeps its files for the next
            // start, offline too.
            navigator.serviceWorker?.register('sw.js').catch(() => {});
        }));
    }).observe(game, {attributes: true, attributeFilter: ['style']});
}

// Called once the program has exited, or failed to start.
function showEnd(status) {
    if (!started) {
        fail(`Drift Harbour could not start: ${status.text}. Check the connection and reload the page.`);
        return;
    }
    stopWatching();
    hideTouchHelp();
    game.remove();
    loading.hidden = true;
    ended.hidden = false;
    if (status.crashed || status.code)
        document.getElementById('farewell').textContent =
            `Drift Harbour stopped with an error${status.text ? `: ${status.text}` : ''}.`;
    document.getElementById('again').focus();
}

// Resolves once the loading screen shows its icon: only then does the game's
// download begin, which would otherwise take the bandwidth that the icon
// needs on a slow network, and keep the page blank for longer.
async function loadingScreenShown() {
    await document.querySelector('#loading img').decode().catch(() => {});
    await new Promise(resolve => requestAnimationFrame(resolve));
}

async function start() {
    if (typeof WebAssembly !== 'object') {
        fail('Drift Harbour needs WebAssembly, which this browser does not have or has switched off.');
        return;
    }
    if (typeof qtLoad !== 'function' || typeof drift_harbour_entry !== 'function') {
        fail('Drift Harbour could not load its files. Check the connection and reload the page.');
        return;
    }
    for (const type of ['pointerdown', 'pointermove', 'pointerup', 'pointercancel', 'pointerover',
                        'pointerout', 'pointerenter', 'pointerleave', 'wheel'])
        window.addEventListener(type, unscale, {capture: true});
    window.addEventListener('resize', layout);
    window.addEventListener('pointerup', fullScreenOnFirstTouch, {capture: true});
    window.addEventListener('pointerdown', event => {
        if (event.pointerType === 'touch')
            showTouchHelp();
    }, {capture: true});
    if (matchMedia('(pointer: coarse)').matches)
        showTouchHelp();
    game.addEventListener('contextmenu', event => event.preventDefault());
    document.getElementById('again').addEventListener('click', () => location.reload());
    showWhenSized();
    nameKeyboard();
    await loadingScreenShown();
    try {
        await qtLoad({
            preRun: [instance => { program = instance; }],
            qt: {
                module: compiledModule('drift-harbour.wasm'),
                entryFunction: drift_harbour_entry,
                containerElements: [game],
                onLoaded: () => { started = true; },
                onExit: showEnd,
                // DejaVu Sans, built in, on every system alike.
                localFonts: {familiesCollection: 'NoFontFamilies'},
            },
        });
    } catch (error) {
        // The loader has told showEnd() already.
    }
}

start();
