;;; .emacs --- settings of the editor
(setq inhibit-startup-screen t)
(setq-default indent-tabs-mode nil)

;; Line numbers in programming modes.
(add-hook (quote prog-mode-hook) (function display-line-numbers-mode)) ; everywhere

(setq user-full-name "Demo; User")
(global-set-key (kbd "C-c c") (function compile)) ;; build
(column-number-mode 1)
(show-paren-mode 1)
