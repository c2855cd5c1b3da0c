// qavex login capture: when the user sends a login form by hand (a form with a filled password
// field), tells qavex what was typed and how the fields and the button are named, so that qavex
// can offer to keep it. Runs in the isolated world on every page, after qwebchannel.js; the
// page's own scripts can neither see nor call it.
(function () {
    'use strict';
    if (window.__qavexCapture || typeof QWebChannel === 'undefined' || typeof qt === 'undefined')
        return;
    let receiver = null;
    const waiting = [];
    window.__qavexCapture = true;
    new QWebChannel(qt.webChannelTransport, channel => {
        receiver = channel.objects.qavexLogin;
        while (waiting.length)
            receiver.loginSubmitted(waiting.shift());
    });

    function lower(value) {
        return value === null || value === undefined ? '' : String(value).toLowerCase();
    }

    function isTextInput(element) {
        return lower(element.tagName) === 'input' && ['text', 'email', 'tel'].includes(lower(element.type));
    }

    function isPasswordInput(element) {
        return lower(element.tagName) === 'input' && lower(element.type) === 'password';
    }

    // The names a later login can find the element by again: its id when that is unique, else its
    // name when the element is the first of that name.
    function names(element) {
        if (!element)
            return { id: '', name: '' };
        const doc = element.ownerDocument;
        return {
            id: element.id && doc.getElementById(element.id) === element ? element.id : '',
            name: element.name && doc.getElementsByName(element.name)[0] === element ? element.name : '',
        };
    }

    // One identifier kind serves both fields: ids when both have them, else names; else none, and
    // the next login finds the form by itself.
    function fieldIdentifiers(account, password) {
        const a = names(account);
        const p = names(password);
        if (p.id && (!account || a.id))
            return { accountId: a.id, passwordId: p.id, idType: '0' };
        if (p.name && (!account || a.name))
            return { accountId: a.name, passwordId: p.name, idType: '1' };
        return { accountId: '', passwordId: '', idType: '' };
    }

    function controlIdentifiers(control) {
        const n = names(control);
        if (!control || !(n.id || n.name))
            return { buttonId: '', buttonIdType: '', control: '' };
        return {
            buttonId: n.id || n.name,
            buttonIdType: n.id ? '0' : '1',
            control: lower(control.tagName) === 'a' ? 'link' : 'button',
        };
    }

    function send(login) {
        if (receiver)
            receiver.loginSubmitted(login);
        else
            waiting.push(login);
    }

    document.addEventListener('submit', event => {
        const form = event.target;
        if (!form || lower(form.tagName) !== 'form')
            return;
        const fields = Array.from(form.elements);
        const passwords = fields.filter(element => isPasswordInput(element) && element.value !== '');
        // Two or more passwords make a sign-up or a change of password, not a login.
        if (passwords.length !== 1)
            return;
        const password = passwords[0];
        const before = fields.slice(0, fields.indexOf(password))
                           .filter(element => isTextInput(element) && element.value !== '');
        const account = before.length ? before[before.length - 1] : null;
        send(Object.assign({
            page: location.href,
            title: document.title,
            account: account ? account.value : '',
            password: password.value,
        }, fieldIdentifiers(account, password), controlIdentifiers(event.submitter || null)));
    }, true);
})();
