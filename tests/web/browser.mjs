// SPDX-License-Identifier: GPL-3.0-or-later
// What the browser tests share: a static web server on 127.0.0.1, this
// system's Chromium and Firefox driven by puppeteer-core, and the pixels of
// a screenshot.
import {createReadStream} from 'node:fs';
import {mkdtemp, rm, stat} from 'node:fs/promises';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize} from 'node:path';
import pngjs from 'pngjs';
import puppeteer from 'puppeteer-core';

const {PNG} = pngjs;

const types = {
    '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
    '.wasm': 'application/wasm', '.json': 'application/json', '.webmanifest': 'application/manifest+json',
    '.png': 'image/png', '.svg': 'image/svg+xml', '.txt': 'text/plain',
};

// Serves the files of the folders given, the first that has a path wins, as
// any static web server would. hold(path) may return a promise that the
// answer waits for, or a status to answer with instead.
export async function serve(folders, hold = () => null) {
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
                response.writeHead(200, {'Content-Type': types[extname(file)] ?? 'application/octet-stream',
                                         'Content-Length': info.size, 'Cache-Control': 'no-cache'});
                createReadStream(file).pipe(response);
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
// close(), and no traffic of its own to any network.
export async function launch(name, extraArgs = [], {prefs = {}, ...launchOptions} = {}) {
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
