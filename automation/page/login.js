// qavex automatic login: finds the login form (by the bookmark's identifiers, or the way a careful
// password manager does without them), fills it and submits it. Every call names the origin qavex
// has checked; a document, or a frame, of any other origin is refused at the moment of the call, so
// a page that has gone elsewhere in between gets nothing. Runs beside automation.js.
(function () {
    'use strict';
    const qavex = window.__qavex;
    if (!qavex || qavex.loginReady)
        return;
    qavex.loginReady = true;
    const { findElement, clickLink, clickButton, setValue, lower } = qavex.lib;

    const SubmitHint = /log ?in|sign ?in|submit|next|continue|登录|登入|提交|下一步|继续|确定/i;
    const finder = qavex.lib.loginForm;

    // The fields filled by the last fill, waiting for the submit that checks them.
    let pending = null;

    function effectivePort(location) {
        if (location.port)
            return Number(location.port);
        return location.protocol === 'https:' ? 443 : location.protocol === 'http:' ? 80 : -1;
    }

    function onOrigin(doc, origin) {
        let location = null;
        try {
            location = doc.location;
        } catch (error) {
            return false;
        }
        if (!location || !origin || location.protocol !== origin.scheme + ':')
            return false;
        if (origin.scheme === 'file')
            return location.pathname === origin.path;
        return location.hostname === origin.host && effectivePort(location) === origin.port;
    }

    // The top document and its frames of the same origin, the top first; other frames are not entered.
    function documents(origin) {
        const found = [];
        const walk = doc => {
            if (!onOrigin(doc, origin))
                return;
            found.push(doc);
            for (const frame of doc.querySelectorAll('iframe, frame')) {
                let inner = null;
                try {
                    inner = frame.contentDocument;
                } catch (error) {
                    inner = null;
                }
                if (inner)
                    walk(inner);
            }
        };
        walk(document);
        return found;
    }

    function isPasswordInput(element) {
        return finder.isPasswordInput(element);
    }

    function isShown(element) {
        return finder.canSee(element);
    }

    function isTypable(element) {
        return !element.disabled && !element.readOnly;
    }

    // Where a field stands: 'ok', 'missing', 'hidden', or 'unusable' (disabled, read-only, or a
    // password that would land in something other than a password input).
    function fieldState(element, isPassword) {
        if (!element)
            return 'missing';
        if (isPassword && !isPasswordInput(element))
            return 'unusable';
        if (!isShown(element))
            return 'hidden';
        return isTypable(element) ? 'ok' : 'unusable';
    }

    function usable(element, isPassword) {
        return fieldState(element, isPassword) === 'ok';
    }

    // The form by the stored identifiers: the first document in which one of them names an element.
    function identifiedForm(login, docs) {
        for (const doc of docs) {
            const account = login.accountId ? findElement(login.accountId, login.fieldKind, doc) : null;
            const password = login.passwordId ? findElement(login.passwordId, login.fieldKind, doc) : null;
            if (account || password)
                return { doc, account, password };
        }
        return { doc: null, account: null, password: null };
    }

    function hasPasswordField(doc) {
        return finder.groups(doc).some(group => group.inputs.some(element => isPasswordInput(element) && isShown(element)));
    }

    function isSubmitter(element) {
        const tag = lower(element.tagName);
        return (tag === 'button' && lower(element.type) === 'submit') ||
               (tag === 'input' && ['submit', 'image'].includes(lower(element.type)));
    }

    function isButtonLike(element) {
        const tag = lower(element.tagName);
        return tag === 'button' || lower(element.getAttribute('role')) === 'button' ||
               (tag === 'input' && ['submit', 'image', 'button'].includes(lower(element.type)));
    }

    function caption(element) {
        return [element.innerText, element.value, element.getAttribute('aria-label'), element.id,
                element.name].join(' ');
    }

    // What a user would press after the field: its form's submit control, else the nearest button
    // after it (one that reads like a login first); null when there is none.
    function submitControlAfter(field) {
        if (field.form) {
            const inForm = Array.from(field.form.elements).find(element => isSubmitter(element) && isShown(element));
            if (inForm)
                return inForm;
        }
        const after = Array.from(field.ownerDocument.querySelectorAll('button, input, [role=button]'))
                          .filter(element => isButtonLike(element) && isShown(element) &&
                                             (!element.form || element.form === field.form) &&
                                             (field.compareDocumentPosition(element) & Node.DOCUMENT_POSITION_FOLLOWING));
        return after.find(element => SubmitHint.test(caption(element))) || after[0] || null;
    }

    function holds(element, value) {
        const squeeze = text => String(text).replace(/\s/g, '');
        return element.isConnected && isShown(element) &&
               (element.value === value || squeeze(element.value) === squeeze(value));
    }

    // One look at the page: fill the form when it is all there. Answers
    //   {r: 'moved'}                the top document is not of the origin checked
    //   {r: 'filled'}               every field with an identifier (or the detected form) filled
    //   {r: 'account'}              only the account field, filled: the first of two steps
    //   {r: 'waiting', why}         not yet: 'missing', 'hidden', 'unusable' or 'account-only'
    function fill(origin, login, step, accountStepAllowed) {
        pending = null;
        const docs = documents(origin);
        if (!docs.length)
            return { r: 'moved' };
        const identified = login.accountId !== '' || login.passwordId !== '';
        if (!identified && login.account === '' && login.password === '') {
            // Nothing to type: only the stored control is pressed.
            pending = { doc: document, fields: [], step: 'login' };
            return { r: 'filled' };
        }
        if (identified && login.fieldKind < 0)
            return { r: 'waiting', why: 'missing' };
        const form = identified ? identifiedForm(login, docs) : finder.find(docs);
        // Only a login form gets the login: a page of sign-up, password-change or code forms none.
        if (!identified && !form.doc)
            return { r: 'waiting', why: form.why };
        // A found password field with no account field before it is a page that knows the account
        // already (the second step, or a returning user's page): the password alone is sent.
        const accountUnasked = identified ? !login.accountId : form.password && !form.account;
        const accountState = accountUnasked ? 'none' : fieldState(form.account, false);
        const passwordState = identified && !login.passwordId ? 'none' : fieldState(form.password, true);
        const wantsPassword = !identified ? login.password !== '' : passwordState !== 'none';

        const fields = [];
        if (step === 'password' || !wantsPassword) {
            // The account may be asked again beside the password; it is filled when it is there.
            if (wantsPassword && passwordState !== 'ok')
                return { r: 'waiting', why: passwordState };
            if (!wantsPassword && accountState !== 'ok')
                return { r: 'waiting', why: accountState };
            if (accountState === 'ok' && (step !== 'password' || login.account !== ''))
                fields.push({ element: form.account, value: login.account });
            if (wantsPassword)
                fields.push({ element: form.password, value: login.password });
        } else if (passwordState === 'ok' && ['ok', 'none'].includes(accountState)) {
            if (accountState === 'ok')
                fields.push({ element: form.account, value: login.account });
            fields.push({ element: form.password, value: login.password });
        } else if (accountState === 'ok' && ['missing', 'hidden'].includes(passwordState) && login.password !== '' &&
                   !docs.some(hasPasswordField)) {
            // A page with some other password field is a one-page form whose password identifier
            // is out of date: sending it now would send it without the password.
            if (!accountStepAllowed)
                return { r: 'waiting', why: 'account-only' };
            if (tooLong({ element: form.account, value: login.account }))
                return { r: 'refused', why: 'too-long' };
            setValue(form.account, login.account);
            pending = { doc: form.doc, fields: [{ element: form.account, value: login.account }], step: 'account' };
            return { r: 'account' };
        } else {
            return { r: 'waiting', why: accountState === 'ok' || accountState === 'none' ? passwordState : accountState };
        }
        // A value the field cannot hold whole would be cut and sent wrong: the form is left alone.
        if (fields.some(field => tooLong(field)))
            return { r: 'refused', why: 'too-long' };
        for (const field of fields)
            setValue(field.element, field.value);
        pending = { doc: form.doc, fields, step: 'login' };
        return { r: 'filled' };
    }

    function tooLong(field) {
        const limit = field.element.maxLength;
        return limit > 0 && String(field.value).length > limit;
    }

    // What shows that a press sent something: the form's submit, a request the page's script made,
    // or the document being left. Watched from just before the press.
    let sent = null;
    function watchSending(doc) {
        if (sent)
            sent.stop();
        const view = doc.defaultView;
        const seen = { seen: false, observer: null };
        const note = () => { seen.seen = true; };
        const types = ['submit', 'beforeunload', 'pagehide'];
        for (const type of types)
            view.addEventListener(type, note, { capture: true });
        try {
            seen.observer = new view.PerformanceObserver(list => {
                if (list.getEntries().some(entry => ['fetch', 'xmlhttprequest', 'beacon'].includes(entry.initiatorType)))
                    note();
            });
            seen.observer.observe({ type: 'resource' });
        } catch (error) {
            // Without the observer only submits and navigations are seen.
        }
        seen.stop = () => {
            for (const type of types)
                view.removeEventListener(type, note, { capture: true });
            if (seen.observer)
                seen.observer.disconnect();
        };
        sent = seen;
    }

    function wasSent() {
        return { seen: !!sent && sent.seen };
    }

    // Whether the page, after the login, asks for a one-time code.
    function asksCode(origin) {
        const docs = documents(origin);
        return { code: docs.length > 0 && finder.find(docs).why === 'code' };
    }

    // The stored control, in the document of the fields: by id or name it must also be enabled.
    function clickStored(login, doc) {
        const kind = login.buttonKind;
        if (kind === 0 || kind === 1) {
            const element = findElement(login.buttonId, kind, doc);
            if (!element)
                return 'no-control';
            if (element.disabled)
                return 'disabled';
            element.click();
            return 'submitted';
        }
        const clicked = login.buttonIsLink ? clickLink(login.buttonId, kind, false, login.buttonIndex, doc)
                                           : clickButton(login.buttonId, kind, false, login.buttonIndex, doc);
        return clicked ? 'submitted' : 'no-control';
    }

    // Presses the control that sends what the last fill typed, after checking, in this same call,
    // that the document is still of the origin checked and every field still holds its value.
    //   {r: 'submitted'} | {r: 'invalid'} (pressed, but the page's checks refused the form)
    //   | {r: 'moved'} | {r: 'lost'} (refill) | {r: 'no-control'} | {r: 'disabled'}
    function submit(origin, login) {
        if (!pending)
            return { r: 'lost' };
        const { doc, fields, step } = pending;
        if (!onOrigin(document, origin) || !onOrigin(doc, origin))
            return { r: 'moved' };
        if (!fields.every(field => holds(field.element, field.value))) {
            pending = null;
            return { r: 'lost' };
        }
        const last = fields.length ? fields[fields.length - 1].element : null;
        if (step === 'login' && login.buttonId !== '') {
            if (login.buttonKind < 0)
                return { r: 'no-control' };
            const valid = isValid(last);
            watchSending(doc);
            const answer = clickStored(login, doc);
            if (answer !== 'submitted')
                return { r: answer };
            pending = null;
            return { r: valid ? 'submitted' : 'invalid' };
        }
        if (!last)
            return { r: 'no-control' };
        const control = submitControlAfter(last);
        if (control && control.disabled)
            return { r: 'disabled' };
        const valid = isValid(last);
        watchSending(doc);
        if (control)
            control.click();
        else if (last.form)
            last.form.requestSubmit();
        else
            return { r: 'no-control' };
        pending = null;
        return { r: valid ? 'submitted' : 'invalid' };
    }

    // A form the page's own checks refuse is not sent; the page then tells the user why.
    function isValid(field) {
        return !field || !field.form || field.form.noValidate || field.form.checkValidity();
    }

    qavex.define({
        loginFill: fill,
        loginSubmit: submit,
        loginSent: wasSent,
        loginAsksCode: asksCode,
    });
})();
