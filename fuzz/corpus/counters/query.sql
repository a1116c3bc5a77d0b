-- Totals per customer.
/* Written for the
   monthly report */
SELECT name, SUM(amount) -- the sum
FROM orders
WHERE note <> '-- none'

GROUP BY name;
