// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests share: a static web server on 127.0.0.1, this
// system's Chromium and Firefox driven by puppeteer-core, WebKitGTK's
// MiniBrowser driven through WebKitWebDriver with selenium-webdriver, and
// the pixels of a screenshot.
import {execFileSync, spawn} from 'node:child_process';
import {createReadStream, readFileSync} from 'node:fs';
import {mkdtemp, rm, stat} from 'node:fs/promises';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize} from 'node:path';
import {gzipSync} from 'node:zlib';
import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';
import pngjs from 'pngjs';
import puppeteer from 'puppeteer-core';
import {Builder, Button, By, Key} from 'selenium-webdriver';

const {PNG} = pngjs;

const types = {
    '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
    '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain',
};

// Serves the files of the folders given, the first that has a path wins, as
// any static web server would. hold(path) may return a promise that the
// answer waits for, or a status to answer with instead. With gzip, files
// are sent compressed to a browser that takes that, as hosts send them,
// each compressed once.
export async function serve(folders, hold = () => null, {gzip = false} = {}) {
    const compressed = new Map();
    const server = createServer(async (request, response) => {
        const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
        const held = await hold(path);
        if (typeof held === 'number') {
            response.writeHead(held).end();
            return;
        }
        for (const folder of folders) {
            const file = join(folder, path.endsWith('/') ? `${path}index.html` : path);
            const info = await stat(file).catch(() => null);
            if (info?.isFile()) {
                const headers = {'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                                 'Cache-Control': 'no-cache'};
                if (gzip && /\bgzip\b/.test(request.headers['accept-encoding'] ?? '')) {
                    if (!compressed.has(file))
                        compressed.set(file, gzipSync(readFileSync(file), {level: 9}));
                    response.writeHead(200, {...headers, 'Content-Encoding': 'gzip', Vary: 'Accept-Encoding',
                                             'Content-Length': compressed.get(file).length});
                    response.end(compressed.get(file));
                } else {
                    response.writeHead(200, {...headers, 'Content-Length': info.size});
                    createReadStream(file).pipe(response);
                }
                return;
            }
        }
        response.writeHead(404).end();
    });
    server.keepAliveTimeout = 0;
    await new Promise(resolve => server.listen(0, '127.0.0.1', resolve));
    return {
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise(resolve => { server.closeAllConnections(); server.close(resolve); }),
    };
}

// Starts a headless Chromium or Firefox of this system (or as the options
// say; prefs are Firefox's), with a profile of its own that is removed on
// close(), and no traffic of its own to any network; or WebKit, on the X
// display of $DISPLAY.
export async function launch(name, extraArgs = [], {prefs = {}, ...launchOptions} = {}) {
    if (name === 'webkit')
        return launchWebKit(extraArgs, launchOptions.env);
    const profile = await mkdtemp(join(tmpdir(), `drift-harbour-${name}-`));
    const options = name === 'firefox'
        ? {browser: 'firefox', executablePath: '/usr/bin/firefox-esr', userDataDir: profile,
           extraPrefsFirefox: {'network.captive-portal-service.enabled': false, 'app.update.enabled': false,
                               'browser.shell.checkDefaultBrowser': false, ...prefs}}
        : {executablePath: '/usr/bin/chromium', userDataDir: profile,
           args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
                  '--disable-background-networking', '--disable-component-update', '--disable-sync',
                  ...extraArgs]};
    const browser = await puppeteer.launch({headless: true, protocolTimeout: 600000, ...options, ...launchOptions});
    const close = browser.close.bind(browser);
    browser.close = async () => {
        await close();
        await rm(profile, {recursive: true, force: true});
    };
    return browser;
}

// Lighthouse's audit of the page at url, in a new headless Chromium of this
// system without a GPU: with Lighthouse's default setting, a mid-range
// phone on slow 4G with its CPU slowed 4x (simulated), or with its desktop
// preset. Resolves to Lighthouse's result, its categories and audits.
export async function audit(url, preset, categories) {
    const browser = await launch('chromium');
    try {
        const {port} = new URL(browser.wsEndpoint());
        const flags = {port: Number(port), output: 'json', logLevel: 'error', onlyCategories: categories};
        return (await lighthouse(url, flags, preset === 'desktop' ? desktopConfig : undefined)).lhr;
    } finally {
        await browser.close();
    }
}

// The pixels of a PNG, such as a screenshot: width, height and rgb(x, y),
// an [r, g, b] triple.
export function decodePng(png) {
    const {width, height, data} = PNG.sync.read(png);
    return {width, height, rgb: (x, y) => [...data.subarray((y * width + x) * 4, (y * width + x) * 4 + 3)]};
}

// Polls check() until it returns something truthy, and returns that; fails
// with the message after the timeout.
export async function until(check, message, timeout = 60000) {
    const end = Date.now() + timeout;
    for (;;) {
        const result = await check();
        if (result)
            return result;
        if (Date.now() > end)
            throw new Error(`timed out: ${message}`);
        await new Promise(resolve => setTimeout(resolve, 100));
    }
}

// Resolves as the promise does, or fails, naming the WebDriver command that
// had no answer in time and what explain() then says: a browser that hangs
// then fails the test that it hangs in, as puppeteer's protocolTimeout makes
// the others do, and the log says where.
function answered(promise, command, explain, timeout = 120000) {
    let timer;
    const late = new Promise((resolve, reject) => {
        timer = setTimeout(() => reject(new Error(`WebKit: no answer to ${command} in ${timeout / 1000} s\n${explain()}`)),
                           timeout);
    });
    return Promise.race([promise, late]).finally(() => clearTimeout(timer));
}

// The process whose id is given and its descendants, one a line as ps shows
// them, with their state and what they wait in, and their TCP sockets.
function processTree(root) {
    const rows = execFileSync('ps', ['-e', '-o', 'pid=,ppid=,stat=,etimes=,wchan:24=,args='], {encoding: 'utf8'})
        .split('\n').map(line => line.trim().split(/\s+/)).filter(row => row.length > 1);
    const tree = new Set([String(root)]);
    for (let grown = true; grown;) {
        grown = false;
        for (const [pid, ppid] of rows)
            if (tree.has(ppid) && !tree.has(pid)) {
                tree.add(pid);
                grown = true;
            }
    }
    const sockets = execFileSync('ss', ['-tanp'], {encoding: 'utf8'}).split('\n')
        .filter(line => [...tree].some(pid => line.includes(`pid=${pid},`)));
    return [...rows.filter(([pid]) => tree.has(pid)).map(row => row.join(' ')), ...sockets].join('\n');
}

const miniBrowser = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const keys = {Escape: Key.ESCAPE, Control: Key.CONTROL};
const scriptTimeout = 600000;

// WebKitGTK's MiniBrowser, a new one for each page, with the arguments given,
// through a WebKitWebDriver started with the environment given; its pages do
// what the tests ask of a puppeteer page, by WebDriver's commands and its
// real input.
async function launchWebKit(extraArgs, env = {}) {
    const probe = createServer();
    await new Promise(resolve => probe.listen(0, '127.0.0.1', resolve));
    const {port} = probe.address();
    await new Promise(resolve => probe.close(resolve));
    const driver = spawn('WebKitWebDriver', ['--host=127.0.0.1', `--port=${port}`],
                         {stdio: ['ignore', 'pipe', 'pipe'], env: {...process.env, ...env}});
    // What the driver and its browsers last printed, for a command that hangs.
    let printed = '';
    for (const stream of [driver.stdout, driver.stderr])
        stream.on('data', data => { printed = (printed + data).slice(-4000); });
    const explain = () => `${processTree(driver.pid)}\nWebKitWebDriver and MiniBrowser printed:\n${printed}`;
    const server = `http://127.0.0.1:${port}`;
    await until(() => fetch(`${server}/status`).then(answer => answer.ok, () => false), 'WebKitWebDriver');
    const pages = new Set();
    const closePages = async () => {
        for (const page of pages)
            await page.close();
    };
    return {
        // WebKitWebDriver holds one session at a time: a page that a failed
        // test left open is closed first.
        async newPage() {
            await closePages();
            const session = await answered(new Builder().usingServer(server).withCapabilities({
                browserName: 'MiniBrowser',
                'webkitgtk:browserOptions': {binary: miniBrowser, args: ['--automation', ...extraArgs]},
            }).build(), 'a new session', explain);
            // Every command of the session goes through execute(). A script
            // waits while the page runs a call into a program: as long as
            // WebDriver lets it, and a minute more for its answer.
            const execute = session.execute.bind(session);
            session.execute = command => answered(execute(command), command.getName(), explain,
                command.getName() === 'executeAsyncScript' ? scriptTimeout + 60000 : undefined);
            await session.manage().setTimeouts({script: scriptTimeout});
            const page = webDriverPage(session, () => pages.delete(page));
            pages.add(page);
            return page;
        },
        process: () => driver,
        async close() {
            try {
                await closePages();
            } finally {
                driver.kill();
                driver.stdout.destroy();
                driver.stderr.destroy();
            }
        },
    };
}

function webDriverPage(session, closed) {
    // Runs the source of an expression in the page and resolves to its value.
    const run = source => session.executeAsyncScript(`const done = arguments[0];
        Promise.resolve().then(() => ${source}).then(done, error => done({thrown: String(error)}))`)
        .then(value => {
            if (value?.thrown)
                throw new Error(value.thrown);
            return value;
        });
    const buttons = {left: Button.LEFT, right: Button.RIGHT, middle: Button.MIDDLE};
    let mouse = {x: 0, y: 0}, quit = false;
    const act = build => build(session.actions({async: true})).perform();
    const page = {
        // The window's size such that its page has the viewport's. The page
        // takes a new window size a moment after the window does, so each
        // change waits for the page to follow, and the window's frame around
        // the page is learnt only while the two agree.
        async setViewport({width, height}) {
            const window = session.manage().window();
            const inner = () => run('[innerWidth, innerHeight]');
            await until(async () => {
                const [innerWidth, innerHeight] = await inner(), from = await window.getRect();
                if (innerWidth === width && innerHeight === height)
                    return true;
                const to = await window.setRect({width: from.width + width - innerWidth,
                                                 height: from.height + height - innerHeight});
                if (to.width !== from.width || to.height !== from.height)
                    await until(async () => String(await inner()) !== String([innerWidth, innerHeight]),
                                'the page resized');
                return false;
            }, `a page of ${width} x ${height}`);
        },
        goto: url => session.get(url),
        evaluate: (fn, ...args) => run(`(${fn})(...${JSON.stringify(args)})`),
        $eval: (selector, fn) => run(`(${fn})(document.querySelector(${JSON.stringify(selector)}))`),
        $: async selector => await run(`!!document.querySelector(${JSON.stringify(selector)})`) || null,
        // A page that unloads while it is asked, as one that a click
        // reloads, shows nothing yet: the next one is asked in turn.
        waitForSelector: (selector, {timeout} = {}) =>
            until(() => page.$(selector).catch(error => {
                if (error.name !== 'NoSuchFrameError')
                    throw error;
                return null;
            }), selector, timeout),
        click: selector => session.findElement(By.css(selector)).click(),
        screenshot: async () => Buffer.from(await session.takeScreenshot(), 'base64'),
        mouse: {
            async move(x, y, {steps = 1} = {}) {
                const from = mouse;
                for (let step = 1; step <= steps; ++step)
                    await act(actions => actions.move({x: Math.round(from.x + (x - from.x) * step / steps),
                                                       y: Math.round(from.y + (y - from.y) * step / steps)}));
                mouse = {x, y};
            },
            down: ({button = 'left'} = {}) => act(actions => actions.press(buttons[button])),
            up: ({button = 'left'} = {}) => act(actions => actions.release(buttons[button])),
            async click(x, y, {button = 'left'} = {}) {
                await page.mouse.move(x, y);
                await act(actions => actions.press(buttons[button]).release(buttons[button]));
            },
        },
        keyboard: {
            down: key => act(actions => actions.keyDown(keys[key] ?? key)),
            up: key => act(actions => actions.keyUp(keys[key] ?? key)),
        },
        isClosed: () => quit,
        async close() {
            quit = true;
            closed();
            await session.quit();
        },
    };
    return page;
}
