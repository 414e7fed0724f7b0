-- Seed data of the demo company: business units, users and groups, the
-- suite's task menu across its ten modules, who may run what, the settings
-- and the report files.
BEGIN;

INSERT INTO TA_UNIDADNEGOCIO (Codigo, Descripcion, Domicilio, Activa) VALUES
  ('0001', 'Casa Central',              'Av. San Martín 1450, Santa Fe', 1),
  ('0002', 'Sucursal Rosario',          'Bv. Oroño 820, Rosario',        1),
  ('0003', 'Sucursal Córdoba',          'Av. Colón 2210, Córdoba',       1),
  ('0004', 'Depósito Norte',            'Ruta 11 km 468, Recreo',        1),
  ('0005', 'Administración y Finanzas', 'Av. San Martín 1450, Santa Fe', 1),
  ('0006', 'Sucursal Paraná (cerrada)', 'Urquiza 300, Paraná',           0);

INSERT INTO TA_USUARIOS (Nombre, NombreCompleto, Grupo, EsGrupo, UNegocio, Administrador, VerProforma, FechaAlta) VALUES
  ('ADMINISTRADORES', 'Administradores del sistema', NULL, 1, '0005', 1, 1, '2019-03-01 00:00:00'),
  ('VENTAS',          'Ventas y facturación',        NULL, 1, '0001', 0, 1, '2019-03-01 00:00:00'),
  ('COMPRAS',         'Compras y proveedores',       NULL, 1, '0001', 0, 0, '2019-03-01 00:00:00'),
  ('CONTABLE',        'Contaduría',                  NULL, 1, '0005', 0, 0, '2019-03-01 00:00:00'),
  ('DEPOSITO',        'Depósito y logística',        NULL, 1, '0004', 0, 0, '2019-03-01 00:00:00'),
  ('ADMIN',    'Administrador del sistema', 'ADMINISTRADORES', 0, '0005', 1, 1, '2019-03-01 00:00:00'),
  ('ANA',      'Ana María Ferreyra',        'VENTAS',          0, '0001', 0, 1, '2019-04-15 00:00:00'),
  ('BRUNO',    'Bruno Castellanos',         'VENTAS',          0, '0002', 0, 1, '2020-02-03 00:00:00'),
  ('CARLA',    'Carla Domínguez',           'COMPRAS',         0, '0001', 0, 0, '2019-06-10 00:00:00'),
  ('DIEGO',    'Diego Ibáñez',              'DEPOSITO',        0, '0004', 0, 0, '2021-08-23 00:00:00'),
  ('ELENA',    'Elena Quiroga',             'CONTABLE',        0, '0005', 0, 0, '2019-03-18 00:00:00'),
  ('FEDERICO', 'Federico Sosa',             'VENTAS',          0, '0003', 0, 1, '2022-01-10 00:00:00'),
  ('GABRIELA', 'Gabriela Mendoza',          'COMPRAS',         0, '0003', 0, 0, '2020-11-02 00:00:00'),
  ('HORACIO',  'Horacio Luján',             'DEPOSITO',        0, '0002', 0, 0, '2018-09-30 00:00:00'),
  ('INES',     'Inés Peralta',              'CONTABLE',        0, '0001', 0, 0, '2023-05-08 00:00:00'),
  ('JULIAN',   'Julián Ríos',               'VENTAS',          0, '0001', 0, 1, '2021-03-22 00:00:00'),
  ('LAURA',    'Laura Benítez',             'ADMINISTRADORES', 0, '0005', 1, 1, '2019-03-01 00:00:00'),
  ('MARTIN',   'Martín Acosta',             'DEPOSITO',        0, '0003', 0, 0, '2022-07-04 00:00:00'),
  ('MUÑOZ',    'Rocío Muñoz',               'VENTAS',          0, '0002', 0, 1, '2023-10-16 00:00:00'),
  ('NICOLAS',  'Nicolás Giménez',           'COMPRAS',         0, '0002', 0, 0, '2020-04-27 00:00:00'),
  ('PAULA',    'Paula Herrera',             'CONTABLE',        0, '0003', 0, 0, '2021-12-01 00:00:00'),
  ('RAMIRO',   'Ramiro Vega',               'VENTAS',          0, '0004', 0, 1, '2024-02-19 00:00:00'),
  ('SOFIA',    'Sofía Navarro',             'DEPOSITO',        0, '0001', 0, 0, '2024-06-03 00:00:00');

-- The suite's menu ("ZEPA"). Keys are hierarchical: a module's rows begin
-- with its prefix (D30 budgets, D40 work orders, D4020 production orders,
-- D50 purchasing, D5080 purchase orders, D5090 payment orders, D60 sales,
-- D75 cash and banks, D80 stock, D95 accounting).
INSERT INTO TA_MENU (MENU, CLAVE, Titulo, Nombre, Imagen, Proceso, HABILITADO) VALUES
  ('ZEPA', 'D10',      '',      'Maestros',                        'Maestros',                 '',                 1),
  ('ZEPA', 'D1010',    'D10',   'Artículos',                       'Articulos',                'ABM_Articulos',    1),
  ('ZEPA', 'D1020',    'D10',   'Clientes',                        'Clientes',                 'ABM_Clientes',     1),
  ('ZEPA', 'D1030',    'D10',   'Proveedores',                     'Proveedores',              'ABM_Proveedores',  1),
  ('ZEPA', 'D1040',    'D10',   'Vendedores',                      'Vendedores',               'ABM_Vendedores',   1),
  ('ZEPA', 'D1050',    'D10',   'Técnicos',                        'Tecnicos',                 'ABM_Tecnicos',     1),
  ('ZEPA', 'D20',      '',      'Tablas',                          'Tablas',                   '',                 1),
  ('ZEPA', 'D2010',    'D20',   'Tabla de Comprobantes',           'TABLADECOMPROBANTES',      'ABM_Comprobantes', 1),
  ('ZEPA', 'D2020',    'D20',   'Unidades de Negocio',             'Tablas',                   'ABM_UNegocio',     1),
  ('ZEPA', 'D2030',    'D20',   'Monedas y Cotizaciones',          'Tablas',                   'ABM_Monedas',      1),
  ('ZEPA', 'D30',      '',      'Presupuestos',                    'Presupuestos',             '',                 1),
  ('ZEPA', 'D3010',    'D30',   'Carga de Presupuestos',           'Presupuestos',             'Presupuestos',     1),
  ('ZEPA', 'D3020',    'D30',   'Autorización de Presupuestos',    'AutorizacionPresupuestos', 'AutPresupuestos',  1),
  ('ZEPA', 'D3030',    'D30',   'Reporte de Presupuestos',         'Reportes',                 'Rp_Presupuestos',  1),
  ('ZEPA', 'D40',      '',      'Órdenes de Trabajo',              'Otrabajo',                 '',                 1),
  ('ZEPA', 'D4010',    'D40',   'Carga de Órdenes de Trabajo',     'Otrabajo',                 'OTrabajo',         1),
  ('ZEPA', 'D4020',    'D40',   'Órdenes de Producción',           'Tareas',                   '',                 1),
  ('ZEPA', 'D402010',  'D4020', 'Carga de Órdenes de Producción',  'Tareas',                   'OProduccion',      1),
  ('ZEPA', 'D402020',  'D4020', 'Control de Producción',           'ControlDeTareas',          'CtrlProduccion',   1),
  ('ZEPA', 'D4030',    'D40',   'Autorización de Tareas',          'AutorizacionTareas',       'AutTareas',        1),
  ('ZEPA', 'D4040',    'D40',   'Trabajos en Comisión',            'TrabajosEnComision',       'TrabComision',     1),
  ('ZEPA', 'D4050',    'D40',   'Tareas Diarias',                  'TareasDiarias',            'TareasDiarias',    1),
  ('ZEPA', 'D50',      '',      'Compras',                         'ProveedoresII',            '',                 1),
  ('ZEPA', 'D5010',    'D50',   'Comprobantes de Compras',         'COMPROBANTESCOMPRASII',    'CpteCompras',      1),
  ('ZEPA', 'D5020',    'D50',   'Reporte de Compras',              'Reportes',                 'Rp_Compras',       1),
  ('ZEPA', 'D5080',    'D50',   'Órdenes de Compra',               'Comprobantes',             '',                 1),
  ('ZEPA', 'D508010',  'D5080', 'Carga de Órdenes de Compra',      'Comprobantes',             'OCompra',          1),
  ('ZEPA', 'D508020',  'D5080', 'Autorización de Órdenes de Compra','AutorizacionTareas',      'AutOCompra',       1),
  ('ZEPA', 'D5090',    'D50',   'Órdenes de Pago',                 'Recibo',                   '',                 1),
  ('ZEPA', 'D509010',  'D5090', 'Carga de Órdenes de Pago',        'Recibo',                   'OPago',            1),
  ('ZEPA', 'D509020',  'D5090', 'Liquidación de Órdenes de Pago',  'Reportes',                 'LiqOpg',           1),
  ('ZEPA', 'D60',      '',      'Ventas',                          'Facturacion',              '',                 1),
  ('ZEPA', 'D6010',    'D60',   'Facturación',                     'Factura',                  'Facturacion',      1),
  ('ZEPA', 'D6020',    'D60',   'Cobranzas',                       'Cobranzas',                'Cobranzas',        1),
  ('ZEPA', 'D6030',    'D60',   'Remitos por Lote',                'RtoLote',                  'RtoLote',          1),
  ('ZEPA', 'D6040',    'D60',   'Reporte de Ventas',               'Reportes',                 'Rp_Ventas',        1),
  ('ZEPA', 'D6050',    'D60',   'Facturas Proforma',               'Factura',                  'Proforma',         0),
  ('ZEPA', 'D75',      '',      'Caja y Bancos',                   'CajayBanco',               '',                 1),
  ('ZEPA', 'D7510',    'D75',   'Movimientos de Caja y Bancos',    'MovCajayBanco',            'MovCaja',          1),
  ('ZEPA', 'D7520',    'D75',   'Recibos',                         'Recibo',                   'Recibos',          1),
  ('ZEPA', 'D80',      '',      'Stock',                           'Stock',                    '',                 1),
  ('ZEPA', 'D8010',    'D80',   'Movimientos de Stock',            'Stock',                    'MovStock',         1),
  ('ZEPA', 'D8020',    'D80',   'Reporte de Stock',                'Reportes',                 'Rp_Stock',         1),
  ('ZEPA', 'D95',      '',      'Contabilidad',                    'Comprobantes',             '',                 1),
  ('ZEPA', 'D9510',    'D95',   'Asientos Contables',              'Comprobantes',             'Asientos',         1),
  ('ZEPA', 'D9520',    'D95',   'Plan de Cuentas',                 'Tablas',                   'PlanCuentas',      1),
  ('ZEPA', 'D9530',    'D95',   'Balance General',                 'Reportes',                 'Rp_Balance',       1),
  ('ZEPA', 'D99',      '',      'Seguridad',                       'Seguridad',                '',                 1),
  ('ZEPA', 'D9910',    'D99',   'Usuarios',                        'Usuarios',                 'ABM_Usuarios',     1),
  ('ZEPA', 'D9920',    'D99',   'Reporte de Usuarios',             'ReporteUsuarios',          'Rp_Usuarios',      1),
  ('ZEPA', 'D9930',    'D99',   'Configuración',                   'Configuracion',            'Configuracion',    1),
  ('ZEPA', 'D9940',    'D99',   'Utilidades',                      'Utilidades',               'Utilidades',       1),
  ('ZEPA', 'D9950',    'D99',   'Salir',                           'Salir',                    'Salir',            1),
  -- Another system's menu, which this program does not show.
  ('POS',  'P10',      '',      'Punto de Venta',                  'Factura',                  'PuntoVenta',       1);

-- Who may run what, by group: administrators everything, each area its
-- own module and the master files it works with.
INSERT INTO TA_USUARIOS_TAREAS (Usuario, MENU, CLAVE, FechaAlta)
  SELECT U.Nombre, M.MENU, M.CLAVE, U.FechaAlta
  FROM TA_USUARIOS U INNER JOIN TA_MENU M ON M.MENU = 'ZEPA' AND M.HABILITADO = 1
  WHERE U.EsGrupo = 0 AND (
        U.Grupo = 'ADMINISTRADORES'
     OR (U.Grupo = 'VENTAS'   AND (M.CLAVE LIKE 'D60%' OR M.CLAVE LIKE 'D30%' OR M.CLAVE IN ('D10', 'D1020', 'D1040')))
     OR (U.Grupo = 'COMPRAS'  AND (M.CLAVE LIKE 'D50%' OR M.CLAVE IN ('D10', 'D1010', 'D1030')))
     OR (U.Grupo = 'CONTABLE' AND (M.CLAVE LIKE 'D95%' OR M.CLAVE LIKE 'D75%' OR M.CLAVE = 'D509020'))
     OR (U.Grupo = 'DEPOSITO' AND (M.CLAVE LIKE 'D80%' OR M.CLAVE LIKE 'D40%' OR M.CLAVE IN ('D10', 'D1010'))));
-- A few by hand.
INSERT INTO TA_USUARIOS_TAREAS (Usuario, MENU, CLAVE, FechaAlta) VALUES
  ('ANA',    'ZEPA', 'D99',   '2024-01-08 00:00:00'),
  ('ANA',    'ZEPA', 'D9920', '2024-01-08 00:00:00'),
  ('ELENA',  'ZEPA', 'D99',   '2022-05-02 00:00:00'),
  ('ELENA',  'ZEPA', 'D9920', '2022-05-02 00:00:00'),
  ('MARTIN', 'ZEPA', 'D3010', '2023-03-13 00:00:00');

INSERT INTO TA_CONFIGURACION (Grupo, Clave, Valor, ValorAux, PoliticaNegocio) VALUES
  ('DATOS', 'NOMBRE',                'Distribuidora del Litoral S.A.', '', 0),
  ('DATOS', 'TitPresupuesto',        'D30',   '', 0),
  ('DATOS', 'TitOrdenDeTrabajo',     'D40',   '', 0),
  ('DATOS', 'TitOrdenDeProduccion',  'D4020', '', 0),
  ('DATOS', 'TitCompras',            'D50',   '', 0),
  ('DATOS', 'TitOrdenDeCompra',      'D5080', '', 0),
  ('DATOS', 'TitOrdenDePago',        'D5090', '', 0),
  ('DATOS', 'TitVentas',             'D60',   '', 0),
  ('DATOS', 'TitCajayBancos',        'D75',   '', 0),
  ('DATOS', 'TitStock',              'D80',   '', 0),
  ('DATOS', 'TitContable',           'D95',   '', 0),
  ('MODULOS', 'ModuloPresupuesto',       'SI', '', 1),
  ('MODULOS', 'ModuloOrdenDeTrabajo',    'SI', '', 1),
  ('MODULOS', 'ModuloOrdenDeProduccion', 'SI', '', 1),
  ('MODULOS', 'ModuloCompra',            'SI', '', 1),
  ('MODULOS', 'ModuloOrdenDeCompra',     'SI', '', 1),
  ('MODULOS', 'ModuloOrdenDePago',       'SI', '', 1),
  ('MODULOS', 'ModuloVenta',             'SI', '', 1),
  ('MODULOS', 'ModuloCajayBanco',        'SI', '', 1),
  ('MODULOS', 'ModuloStock',             'SI', '', 1),
  ('MODULOS', 'ModuloContable',          'SI', '', 1),
  ('DATOS', 'TituloClientes',        'Clientes',    '', 0),
  ('DATOS', 'TituloProveedores',     'Proveedores', '', 0),
  ('DATOS', 'CantidadDecimales',     '2',           '', 0),
  ('DATOS', 'UsaFacturaProforma',    'SI',          '', 1),
  ('DATOS', 'UsaConsultaLike',       'SI',          '', 0),
  ('DATOS', 'PERIODO',               '2026',        '', 0),
  ('DATOS', 'CFondo',                '12648447',    '', 0),
  ('DATOS', 'CLetra',                '0',           '', 0),
  ('DATOS', 'CONDIVAEMPRESA',        '1',           '', 0),
  ('DATOS', 'MaxDto',                '15',          '', 1),
  ('DATOS', 'Top_Default',           '1000',        '', 0);

-- The three report files lie in the program folder; a bare name is taken
-- from there, an empty one is the file named after the report.
INSERT INTO TA_REPORTES (NOMBRE, Descripcion, Archivo, Archivo2, Archivo3, Archivo4) VALUES
  ('RP_Usuarios_Grupos', 'Usuarios por grupo',             'RP_Usuarios_Grupos', '', '', ''),
  ('RP_Usuarios_UNEG',   'Usuarios por unidad de negocio', '',                   '', '', ''),
  ('RP_Usuarios_TAREAS', 'Usuarios por tarea del menú',    'RP_Usuarios_TAREAS', '', '', '');

INSERT INTO TA_CPTE (Codigo, Descripcion, SISTEMA) VALUES
  ('FA', 'Factura A',          'Ventas'),
  ('FB', 'Factura B',          'Ventas'),
  ('RC', 'Recibo',             'Ventas'),
  ('OC', 'Orden de Compra',    'Compras'),
  ('FC', 'Factura de Compra',  'Compras'),
  ('OPG', 'Orden de Pago',     'Compras');

COMMIT;
